#include "core/params/line_source.h"

#include <QCoreApplication>
#include <QIODevice>
#include <algorithm>

namespace quill {

namespace {

constexpr qint64 kPieceBytes = qint64(64) << 10;  // read from the device at a time

}  // namespace

LineSource::Status LineSource::next(QByteArrayView& line) {
  for (;;) {
    const qsizetype size = buffer_.size();
    const char* bytes = buffer_.constData();
    if (afterCr_ && position_ < size) {
      // The LF of a CR LF ends no line of its own.
      if (bytes[position_] == '\n') scanned_ = ++position_;
      afterCr_ = false;
    }
    if (!afterCr_ || atEnd_) {
      afterCr_ = false;
      qsizetype i = scanned_;
      while (i < size && bytes[i] != '\n' && bytes[i] != '\r' && bytes[i] != '\0') ++i;
      if (i < size && bytes[i] == '\0') {
        problem_ = QCoreApplication::translate("Messages",
                                               "Line %1 holds a NUL byte; this is not a text file.")
                       .arg(number_ + 1);
        return Status::Refused;
      }
      if (i - position_ > mostLineBytes_) {
        problem_ = QCoreApplication::translate("Messages", "Line %1 is longer than %2 bytes.")
                       .arg(number_ + 1)
                       .arg(mostLineBytes_);
        return Status::Refused;
      }
      if (i < size || (atEnd_ && position_ < size)) {
        line = QByteArrayView(bytes + position_, i - position_);
        start_ = dropped_ + position_;
        ++number_;
        afterCr_ = i < size && bytes[i] == '\r';
        position_ = scanned_ = std::min(i + 1, size);
        return Status::Ok;
      }
      if (atEnd_) return Status::End;
      scanned_ = i;
    }
    if (!readPiece()) return Status::Refused;
  }
}

QString LineSource::tooLargeText(qint64 mostFileBytes) {
  return QCoreApplication::translate("Messages", "The file is larger than %1 MB.")
      .arg(mostFileBytes >> 20);
}

bool LineSource::readPiece() {
  buffer_.remove(0, position_);
  dropped_ += position_;
  scanned_ -= position_;
  position_ = 0;
  const qsizetype kept = buffer_.size();
  buffer_.resize(kept + kPieceBytes);
  const qint64 n = device_.read(buffer_.data() + kept, kPieceBytes);
  if (n < 0) {
    buffer_.resize(kept);
    problem_ = QCoreApplication::translate("Messages", "The file could not be read.");
    return false;
  }
  buffer_.resize(kept + qsizetype(n));
  atEnd_ = n == 0;
  total_ += n;
  if (total_ > mostFileBytes_) {
    problem_ = tooLargeText(mostFileBytes_);
    return false;
  }
  return true;
}

}  // namespace quill
