#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class QIODevice;

namespace quill {

// Hands out a device's lines one at a time, reading it in pieces, so a file is never held whole
// and an overlong line or file is refused after at most the limit's worth of bytes. CR, LF and
// CR LF each end a line; lines are numbered from 1 as an editor shows them.
class LineSource {
 public:
  enum class Status { Ok, End, Refused };

  LineSource(QIODevice& device, qint64 mostFileBytes, qsizetype mostLineBytes)
      : device_(device), mostFileBytes_(mostFileBytes), mostLineBytes_(mostLineBytes) {}

  // The next line without its end; valid until the next call. Refused, with problem() saying why,
  // for a line or a file past the limits, a NUL byte (no text file holds one), or a device error.
  Status next(QByteArrayView& line);

  qint64 number() const { return number_; }  // of the line last handed out
  qint64 start() const { return start_; }    // its first byte's offset in the device
  const QString& problem() const { return problem_; }

  // "The file is larger than 16 MB."
  static QString tooLargeText(qint64 mostFileBytes);

 private:
  bool readPiece();

  QIODevice& device_;
  const qint64 mostFileBytes_;
  const qsizetype mostLineBytes_;
  QByteArray buffer_;
  qsizetype position_ = 0;  // where the next line starts
  qsizetype scanned_ = 0;   // bytes before it hold no line end
  qint64 dropped_ = 0;      // bytes of the device before buffer_
  qint64 total_ = 0;
  qint64 number_ = 0;
  qint64 start_ = 0;
  bool atEnd_ = false;
  bool afterCr_ = false;  // the last line ended in CR, so an LF next belongs to it
  QString problem_;
};

}  // namespace quill
