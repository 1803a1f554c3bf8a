#pragma once

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <atomic>
#include <thread>

namespace quill::testing {

// Reads a FIFO on a thread of its own until its writer closes it, or until stop() when no
// writer ever comes (a writer that replaced the FIFO by a file, say): the test ends either way.
// The FIFO is opened before the writer starts, so a writer that waits for a reader finds one.
class FifoReader {
 public:
  explicit FifoReader(const QString& path)
      : fd_(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)),
        thread_([this] { read(); }) {}
  ~FifoReader() { stop(); }
  FifoReader(const FifoReader&) = delete;
  FifoReader& operator=(const FifoReader&) = delete;

  // Waits for the thread: at once after a writer closed the FIFO, else after giving up.
  const QByteArray& stop() {
    stopping_.store(true);
    if (thread_.joinable()) thread_.join();
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    return bytes_;
  }

 private:
  void read() {
    char block[65536];
    while (fd_ >= 0) {
      pollfd readable = {fd_, POLLIN, 0};
      // No POLLHUP before a writer has come and gone, so an empty FIFO is waited on.
      if (::poll(&readable, 1, 50) <= 0) {
        if (stopping_.load()) return;
        continue;
      }
      const ssize_t got = ::read(fd_, block, sizeof block);
      if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR)) return;
      if (got > 0) bytes_.append(block, got);
    }
  }

  int fd_;
  std::atomic<bool> stopping_{false};
  QByteArray bytes_;
  std::thread thread_;
};

}  // namespace quill::testing
