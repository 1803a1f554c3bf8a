#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <atomic>

namespace quill {

// A stream written straight into an open file descriptor: standard output, a FIFO, a device.
// Bytes are gathered into blocks so that small writes (an XML attribute, a PNG chunk header)
// cost no system call each. With a cancel flag, a reader that stops reading is waited for in
// short steps, so setting the flag ends the wait within a tenth of a second.
class DescriptorStream : public QIODevice {
 public:
  // Takes `fd` over when `owned` (closed with the stream), else leaves it open.
  DescriptorStream(int fd, bool owned, const std::atomic<bool>* cancel);
  ~DescriptorStream() override;
  DescriptorStream(const DescriptorStream&) = delete;
  DescriptorStream& operator=(const DescriptorStream&) = delete;

  bool isSequential() const override { return true; }
  // Writes out the gathered bytes; false when that failed.
  bool drain();
  // The errno of the first failed write, ECANCELED when the cancel flag stopped one; 0 while
  // every write went through.
  int failure() const { return failure_; }

 protected:
  qint64 readData(char* data, qint64 maxSize) override;
  qint64 writeData(const char* data, qint64 size) override;

 private:
  bool writeAll(const char* data, qint64 size);
  bool waitUntilWritable();

  int fd_;
  bool owned_;
  bool pipe_;  // a FIFO or socket: written in pieces a free buffer slot takes without blocking
  const std::atomic<bool>* cancel_;
  QByteArray pending_;
  int failure_ = 0;
};

// Opens an existing file that is not a regular one (a FIFO, a character device) for writing,
// without truncating or replacing it. A FIFO with no reader yet is waited for while `cancel`
// can end the wait; without a flag it is refused at once, so no command hangs on one. Returns
// the descriptor, or -1 with errno set (ECANCELED when the flag ended the wait).
int openSpecialFile(const QString& path, const std::atomic<bool>* cancel);

}  // namespace quill
