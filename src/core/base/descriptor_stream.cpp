#include "core/base/descriptor_stream.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <thread>

namespace quill {

namespace {

// Bytes gathered before they are written out, and the most one write hands the kernel.
constexpr qint64 kBlock = 64 * 1024;
// How long one wait for a reader lasts before the cancel flag is looked at again.
constexpr int kWaitStepMilliseconds = 20;

}  // namespace

DescriptorStream::DescriptorStream(int fd, bool owned, const std::atomic<bool>* cancel)
    : fd_(fd), owned_(owned), pipe_(false), cancel_(cancel) {
  struct stat status = {};
  pipe_ = ::fstat(fd, &status) == 0 && (S_ISFIFO(status.st_mode) || S_ISSOCK(status.st_mode));
  pending_.reserve(kBlock);
}

DescriptorStream::~DescriptorStream() {
  if (owned_ && fd_ >= 0) ::close(fd_);
}

bool DescriptorStream::drain() {
  const bool written = failure_ == 0 && writeAll(pending_.constData(), pending_.size());
  pending_.clear();
  return written;
}

qint64 DescriptorStream::readData(char* /*data*/, qint64 /*maxSize*/) { return -1; }

qint64 DescriptorStream::writeData(const char* data, qint64 size) {
  if (failure_ != 0) return -1;
  if (pending_.size() + size > kBlock && !drain()) return -1;
  if (size >= kBlock) return writeAll(data, size) ? size : -1;
  pending_.append(data, size);
  return size;
}

bool DescriptorStream::writeAll(const char* data, qint64 size) {
  // A pipe that has room for one more buffer takes PIPE_BUF bytes without blocking, so a write
  // of that size after the wait never blocks past a Cancel.
  const qint64 largest = pipe_ ? PIPE_BUF : kBlock;
  while (size > 0) {
    if (!waitUntilWritable()) return false;
    const ssize_t written = ::write(fd_, data, std::size_t(std::min(size, largest)));
    if (written < 0) {
      if (errno == EINTR || errno == EAGAIN) continue;
      failure_ = errno;
    } else if (written == 0) {
      failure_ = EIO;
    }
    if (failure_ != 0) {
      setErrorString(QString::fromLocal8Bit(std::strerror(failure_)));
      return false;
    }
    data += written;
    size -= written;
  }
  return true;
}

bool DescriptorStream::waitUntilWritable() {
  for (;;) {
    if (cancel_ != nullptr && cancel_->load()) {
      failure_ = ECANCELED;
      return false;
    }
    pollfd wanted = {fd_, POLLOUT, 0};
    const int ready = ::poll(&wanted, 1, cancel_ != nullptr ? kWaitStepMilliseconds : -1);
    if (ready < 0 && errno != EINTR) {
      failure_ = errno;
      return false;
    }
    if (ready <= 0) continue;
    if ((wanted.revents & POLLNVAL) != 0) {
      failure_ = EBADF;  // a closed standard output
      return false;
    }
    if (pipe_ && (wanted.revents & POLLERR) != 0) {
      failure_ = EPIPE;  // the reader has gone: say so without writing into the broken pipe
      return false;
    }
    return true;
  }
}

int openSpecialFile(const QString& path, const std::atomic<bool>* cancel) {
  const QByteArray name = QFile::encodeName(path);
  for (;;) {
    // Without O_NONBLOCK, opening a FIFO blocks until a reader comes, deaf to the cancel flag.
    const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd >= 0) {
      const int flags = ::fcntl(fd, F_GETFL);
      if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
      return fd;
    }
    const int error = errno;
    if (error == EINTR) continue;
    // ENXIO from a FIFO: nobody reads it yet. Any other file gives ENXIO for good.
    struct stat status = {};
    const bool fifo = ::stat(name.constData(), &status) == 0 && S_ISFIFO(status.st_mode);
    if (error != ENXIO || cancel == nullptr || !fifo) {
      errno = error;
      return -1;
    }
    if (cancel->load()) {
      errno = ECANCELED;
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(kWaitStepMilliseconds));
  }
}

}  // namespace quill
