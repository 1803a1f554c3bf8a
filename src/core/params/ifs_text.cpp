#include "core/params/ifs_text.h"

#include <charconv>
#include <cmath>

namespace quill {

namespace {

void appendNumber(QByteArray& text, double value) {
  if (!std::isfinite(value)) value = 0;
  char buffer[32];
  const std::to_chars_result written = std::to_chars(buffer, buffer + sizeof buffer, value);
  text.append(buffer, written.ptr - buffer);
}

}  // namespace

QString ifsEntryName(const QString& name) {
  if (name.isEmpty()) return QStringLiteral("Quillmere");
  QString result = name;
  for (QChar& c : result) {
    // NUL makes the file unreadable.
    if (c == u' ' || c == u'\t' || c == u'\v' || c == u'\f' || c == u'\n' || c == u'\r' ||
        c == u'(' || c == u';' || c == u'{' || c == u'}' || c == QChar(0))
      c = u'_';
  }
  // The reader drops a byte order mark at the start of a name.
  if (result.front() == QChar(0xFEFF)) result.front() = u'_';
  return result;
}

QByteArray ifsText(const QString& name, std::span<const IfsMap> maps) {
  QByteArray text = ifsEntryName(name).toUtf8() + " {\n  ; Written by Quillmere\n";
  for (const IfsMap& m : maps) {
    text += " ";
    for (double value : {m.a, m.b, m.c, m.d, m.e, m.f, m.p}) {
      text += ' ';
      appendNumber(text, value);
    }
    text += '\n';
  }
  text += "}\n";
  return text;
}

}  // namespace quill
