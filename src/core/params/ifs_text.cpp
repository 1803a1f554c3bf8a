#include "core/params/ifs_text.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <charconv>
#include <cmath>

#include "core/base/message_text.h"

namespace quill {

namespace {

void appendNumber(QByteArray& text, double value) {
  if (!std::isfinite(value)) value = 0;
  char buffer[32];
  const std::to_chars_result written = std::to_chars(buffer, buffer + sizeof buffer, value);
  text.append(buffer, written.ptr - buffer);
}

// The line end of the file's first line: CR LF, CR or LF; LF when there is none.
QByteArray lineEndOf(const QByteArray& file) {
  for (qsizetype i = 0; i < file.size(); ++i) {
    if (file[i] == '\n') return "\n";
    if (file[i] == '\r') return i + 1 < file.size() && file[i + 1] == '\n' ? "\r\n" : "\r";
  }
  return "\n";
}

Result<std::vector<IfsEntry>> readBytes(const QByteArray& bytes) {
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  return readIfs(buffer);
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

QByteArray ifsText(const QString& name, std::span<const WeightedMap> maps) {
  QByteArray text = ifsEntryName(name).toUtf8() + " {\n  ; Written by Quillmere\n";
  for (const WeightedMap& m : maps) {
    text += " ";
    for (double value : {m.map.a, m.map.b, m.map.c, m.map.d, m.map.e, m.map.f, m.p}) {
      text += ' ';
      appendNumber(text, value);
    }
    text += '\n';
  }
  text += "}\n";
  return text;
}

Result<QByteArray> addToCollection(const QByteArray& file, const QString& name,
                                   std::span<const WeightedMap> maps) {
  const Result<std::vector<IfsEntry>> entries = readBytes(file);
  if (!entries) return Failure{entries.message()};
  const QString entryName = ifsEntryName(name);
  const QByteArray lineEnd = lineEndOf(file);
  QByteArray entry = ifsText(name, maps);
  entry.chop(1);  // the line end after its '}': the file's own where it replaces an entry
  if (lineEnd != "\n") entry.replace('\n', lineEnd);

  QByteArray result;
  if (const IfsEntry* same = findEntry(*entries, entryName)) {
    result = file.first(qsizetype(same->begin)) + entry + file.sliced(qsizetype(same->end));
  } else {
    result = file;
    // On a line of its own: a comment left open on the last line would swallow it.
    if (!result.isEmpty() && !result.endsWith('\n') && !result.endsWith('\r')) result += lineEnd;
    if (!result.isEmpty() && !result.endsWith(lineEnd + lineEnd)) result += lineEnd;
    result += entry + lineEnd;
  }

  // The file must read back with the entry in it; only the reader's limits can stand in the way.
  const Result<std::vector<IfsEntry>> reread = readBytes(result);
  const IfsEntry* added = reread ? findEntry(*reread, entryName) : nullptr;
  if (added == nullptr || !added->refusal.isEmpty() || added->maps.size() != maps.size())
    return Failure{
        messageText(kCollectionFullText).arg(kMaxIfsFileBytes >> 20).arg(kMaxIfsEntries)};
  return result;
}

Result<QByteArray> collectionWithEntry(const QString& path, const QString& name,
                                       std::span<const WeightedMap> maps) {
  if (!QFileInfo(path).isFile()) return ifsText(name, maps);
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return Failure{kUnreadableIfsMessage};
  // One byte past the limit is enough to refuse the file as the reader does.
  const QByteArray bytes = file.read(kMaxIfsFileBytes + 1);
  if (file.error() != QFileDevice::NoError) return Failure{kUnreadableIfsMessage};
  return addToCollection(bytes, name, maps);
}

}  // namespace quill
