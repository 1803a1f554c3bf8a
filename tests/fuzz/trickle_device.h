#pragma once

#include <QByteArray>
#include <QIODevice>
#include <algorithm>

namespace quill::testing {

// Hands out the bytes in pieces of 1 to 7, like a pipe or a slow network share. With `failAt`
// >= 0 the read after that many bytes fails while more remain, as a disk error would. As a pipe
// (`sequential`) it states no size, so a reader cannot refuse it before reading.
class TrickleDevice : public QIODevice {
 public:
  explicit TrickleDevice(const QByteArray& bytes, qint64 failAt = -1, bool sequential = false)
      : bytes_(bytes), failAt_(failAt), sequential_(sequential) {
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
  }
  bool isSequential() const override { return sequential_; }
  qint64 size() const override { return sequential_ ? QIODevice::size() : bytes_.size(); }

 protected:
  qint64 readData(char* data, qint64 maxSize) override {
    if (failAt_ >= 0 && position_ >= failAt_) return -1;
    qint64 n = std::min<qint64>({maxSize, 1 + position_ % 7, bytes_.size() - position_});
    if (failAt_ >= 0) n = std::min(n, failAt_ - position_);
    std::copy_n(bytes_.constData() + position_, n, data);
    position_ += n;
    return n;
  }
  qint64 writeData(const char*, qint64) override { return -1; }

 private:
  QByteArray bytes_;
  qint64 failAt_;
  bool sequential_;
  qint64 position_ = 0;
};

}  // namespace quill::testing
