#include "core/params/field_reader.h"

#include <QIODevice>

namespace quill {

namespace {

constexpr qint64 kChunkBytes = 65536;
constexpr int kEnd = -1;
constexpr int kFailed = -2;

bool isBlank(int c) { return c == ' ' || c == '\t'; }
bool isLineEnd(int c) { return c == '\r' || c == '\n'; }
bool endsField(int c) { return c == ',' || isLineEnd(c) || c == kEnd; }

}  // namespace

int FieldReader::peek() {
  if (position_ < size_) return static_cast<unsigned char>(buffer_[position_]);
  if (failed_) return kFailed;
  buffer_.resize(kChunkBytes);
  const qint64 got = device_.read(buffer_.data(), kChunkBytes);
  position_ = 0;
  size_ = got > 0 ? got : 0;
  if (got < 0) {
    // QIODevice reports the end of a file as -1 too; only an open, unfinished device failed.
    failed_ = !device_.atEnd();
    return failed_ ? kFailed : kEnd;
  }
  if (got == 0) return kEnd;
  return static_cast<unsigned char>(buffer_[0]);
}

FieldStatus FieldReader::next(Field& field) {
  int c = peek();
  while (isBlank(c) || isLineEnd(c)) {
    skip();
    c = peek();
  }
  if (c == kFailed) return FieldStatus::ReadError;
  if (c == kEnd) return FieldStatus::EndOfFile;

  QByteArray bytes;
  field.quoted = c == '"';
  if (field.quoted) {
    skip();
    for (c = peek(); c != '"'; c = peek()) {
      if (c == kFailed) return FieldStatus::ReadError;
      // A quoted text never spans lines: a missing closing quote would otherwise swallow the
      // rest of the file into one field.
      if (c == kEnd || isLineEnd(c) || c == 0) return FieldStatus::Malformed;
      if (bytes.size() >= kMaxFieldBytes) return FieldStatus::Malformed;
      bytes.append(char(c));
      skip();
    }
    skip();  // the closing quote
    for (c = peek(); isBlank(c); c = peek()) skip();
    if (c == kFailed) return FieldStatus::ReadError;
    if (!endsField(c)) return FieldStatus::Malformed;
  } else {
    for (c = peek(); !endsField(c); c = peek()) {
      if (c == kFailed) return FieldStatus::ReadError;
      if (c == 0 || bytes.size() >= kMaxFieldBytes) return FieldStatus::Malformed;
      bytes.append(char(c));
      skip();
    }
    while (!bytes.isEmpty() && isBlank(bytes.back())) bytes.chop(1);
  }
  // The separator: a comma is consumed here so that ",," reads as an empty field between; a
  // line end is left for the skipping at the start of the next field.
  if (c == ',') skip();
  field.text = QString::fromUtf8(bytes);
  return FieldStatus::Ok;
}

}  // namespace quill
