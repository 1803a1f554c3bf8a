#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

namespace quill {

// One field of a parameter file: its text, and whether it stood in double quotes.
struct Field {
  QString text;
  bool quoted = false;
};

enum class FieldStatus {
  Ok,
  EndOfFile,  // no field left
  Malformed,  // an unterminated quote, text after a closing quote, a NUL byte, an overlong field
  ReadError,  // the device failed
};

// Reads the fields of a parameter file one at a time, only as far as the caller asks, so text
// after the last needed field is never looked at and a huge file costs no memory.
//
// Fields are separated by a comma or a line end (CR LF, LF or a lone CR); line ends, spaces and
// tabs before a field are skipped, so blank lines carry no field, while two commas in a row
// enclose an empty one. A field in double quotes is the text between them (it may hold commas)
// and may be followed only by blanks before its separator. Any other field runs to the next
// separator, its trailing blanks dropped. Bytes are read as UTF-8.
class FieldReader {
 public:
  // No parameter file holds a field this long; refusing it keeps a line of noise from becoming
  // a panel field of megabytes.
  static constexpr int kMaxFieldBytes = 4096;

  // `device` must be open for reading and outlive the reader.
  explicit FieldReader(QIODevice& device) : device_(device) {}

  // Reads the next field into `field`; anything but Ok leaves `field` unspecified.
  [[nodiscard]] FieldStatus next(Field& field);

 private:
  // The next byte without consuming it; -1 at the end, -2 when the device failed.
  int peek();
  void skip() { ++position_; }

  QIODevice& device_;
  QByteArray buffer_;  // the bytes read ahead, buffer_[position_] being the next
  qsizetype position_ = 0;
  qsizetype size_ = 0;
  bool failed_ = false;
};

}  // namespace quill
