#include "core/params/ifs_file.h"

#include <QByteArrayView>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <charconv>
#include <cmath>
#include <optional>

#include "core/maps/map_table.h"
#include "core/maps/number_text.h"

namespace quill {

namespace {

constexpr qint64 kPieceBytes = qint64(64) << 10;  // read from the device at a time
constexpr int kPlaneNumbers = 7;                  // a b c d e f p
constexpr int kSpaceNumbers = 13;                 // a 3-D map: nine matrix entries, three, p
// An entry's numbers are kept only while they could still make a drawable entry.
constexpr qint64 kMaxKeptNumbers = qint64(kPlaneNumbers) * kMaxMaps;

Failure invalidFormat() { return Failure{kInvalidFormatMessage}; }

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }
bool isSeparator(char c) { return isBlank(c) || c == ','; }

enum class LineStatus { Ok, End, Refused };

// Hands out a device's lines one at a time, reading it in pieces, so a file is never held whole
// and an overlong line or file is refused after at most the limit's worth of bytes. CR and LF
// each end a line: CR LF then yields an empty line, which means nothing in the format.
class LineSource {
 public:
  explicit LineSource(QIODevice& device) : device_(device) {}

  // The next line without its end; valid until the next call. Refused for a line or a file past
  // the limits, a NUL byte (no text file holds one), or a device error.
  LineStatus next(QByteArrayView& line) {
    for (;;) {
      qsizetype i = scanned_;
      const qsizetype size = buffer_.size();
      const char* bytes = buffer_.constData();
      while (i < size && bytes[i] != '\n' && bytes[i] != '\r' && bytes[i] != '\0') ++i;
      if (i < size && bytes[i] == '\0') return LineStatus::Refused;
      if (i - position_ > kMaxIfsLineBytes) return LineStatus::Refused;
      if (i < size || (atEnd_ && position_ < size)) {
        line = QByteArrayView(bytes + position_, i - position_);
        position_ = scanned_ = std::min(i + 1, size);
        return LineStatus::Ok;
      }
      if (atEnd_) return LineStatus::End;
      scanned_ = i;
      if (!readPiece()) return LineStatus::Refused;
    }
  }

 private:
  bool readPiece() {
    buffer_.remove(0, position_);
    scanned_ -= position_;
    position_ = 0;
    const qsizetype kept = buffer_.size();
    buffer_.resize(kept + kPieceBytes);
    const qint64 n = device_.read(buffer_.data() + kept, kPieceBytes);
    if (n < 0) return false;
    buffer_.resize(kept + qsizetype(n));
    atEnd_ = n == 0;
    total_ += n;
    return total_ <= kMaxIfsFileBytes;
  }

  QIODevice& device_;
  QByteArray buffer_;
  qsizetype position_ = 0;  // where the next line starts
  qsizetype scanned_ = 0;   // bytes before it hold no line end
  qint64 total_ = 0;
  bool atEnd_ = false;
};

// Builds the entries line by line; each step returns false when the file is not an .ifs file.
class EntryBuilder {
 public:
  bool addLine(QByteArrayView text) {
    if (const qsizetype comment = text.indexOf(';'); comment >= 0) text = text.first(comment);
    qsizetype i = 0;
    while (i < text.size()) {
      if (!inside_) {
        while (i < text.size() && isBlank(text[i])) ++i;
        if (i == text.size()) break;
        const qsizetype brace = text.indexOf('{', i);
        if (brace < 0 || !open(text.sliced(i, brace - i))) return false;
        i = brace + 1;
        continue;
      }
      while (i < text.size() && isSeparator(text[i])) ++i;
      if (i == text.size()) break;
      if (text[i] == '}') {
        if (!close()) return false;
        ++i;
        continue;
      }
      qsizetype end = i;
      while (end < text.size() && !isSeparator(text[end]) && text[end] != '{' && text[end] != '}')
        ++end;
      if (end == i) return false;  // a '{' inside an entry: its '}' is missing
      // One text reused for every number: a file of millions of them allocates none.
      token_.resize(end - i);
      for (qsizetype k = 0; k < end - i; ++k) token_[k] = QLatin1Char(text[i + k]);
      const std::optional<double> number = parseNumber(token_);
      if (!number) return false;
      if (numberCount_ < kMaxKeptNumbers) numbers_.push_back(*number);
      ++numberCount_;
      i = end;
    }
    return true;
  }

  // The entries, or nothing when an entry is left open or there is none.
  std::optional<std::vector<IfsEntry>> finish() {
    if (inside_ || entries_.empty()) return std::nullopt;
    return std::move(entries_);
  }

 private:
  bool open(QByteArrayView header) {
    if (header.contains('}')) return false;  // a '}' without its entry
    // A byte order mark is no part of a name, wherever a file was cut or joined.
    while (header.startsWith("\xEF\xBB\xBF")) header = header.sliced(3);
    qsizetype nameEnd = 0;
    while (nameEnd < header.size() && !isBlank(header[nameEnd]) && header[nameEnd] != '(')
      ++nameEnd;
    if (nameEnd == 0) return false;
    name_ = QString::fromUtf8(header.first(nameEnd));
    threeD_ = QByteArray(header.data(), header.size()).toLower().contains("(3d)");
    numbers_.clear();
    numberCount_ = 0;
    inside_ = true;
    return true;
  }

  bool close() {
    if (entries_.size() >= std::size_t(kMaxIfsEntries)) return false;
    inside_ = false;
    IfsEntry entry;
    entry.name = name_;
    entry.threeD = threeD_;
    if (threeD_) {
      entry.mapCount = int(numberCount_ / kSpaceNumbers);
      entry.refusal = kThreeDimensionalMessage;
    } else {
      entry.mapCount = int(numberCount_ / kPlaneNumbers);
      if (numberCount_ == 0 || numberCount_ % kPlaneNumbers != 0) {
        entry.refusal = kNotSevensMessage;
      } else if (entry.mapCount > kMaxMaps) {
        entry.refusal = tooManyMapsMessage(entry.mapCount);
      } else {
        for (std::size_t k = 0; k < numbers_.size(); k += kPlaneNumbers) {
          const double* n = numbers_.data() + k;
          entry.maps.push_back({n[0], n[1], n[2], n[3], n[4], n[5], n[6]});
        }
      }
    }
    entries_.push_back(std::move(entry));
    return true;
  }

  std::vector<IfsEntry> entries_;
  bool inside_ = false;
  QString name_;
  bool threeD_ = false;
  std::vector<double> numbers_;  // the first kMaxKeptNumbers of the open entry
  qint64 numberCount_ = 0;       // all of them
  QString token_;
};

void appendNumber(QByteArray& text, double value) {
  if (!std::isfinite(value)) value = 0;
  char buffer[32];
  const std::to_chars_result written = std::to_chars(buffer, buffer + sizeof buffer, value);
  text.append(buffer, written.ptr - buffer);
}

}  // namespace

QString tooManyMapsMessage(int mapCount) {
  return QStringLiteral("This entry has %1 maps; Quillmere draws at most 10.").arg(mapCount);
}

Result<std::vector<IfsEntry>> readIfs(QIODevice& device) {
  // A device that knows its size is refused at once when it is too large.
  if (!device.isSequential() && device.size() - device.pos() > kMaxIfsFileBytes)
    return invalidFormat();
  LineSource lines(device);
  EntryBuilder builder;
  QByteArrayView line;
  for (bool first = true;; first = false) {
    const LineStatus status = lines.next(line);
    if (status == LineStatus::End) break;
    if (status == LineStatus::Refused) return invalidFormat();
    if (first && line.startsWith("\xEF\xBB\xBF")) line = line.sliced(3);
    if (!builder.addLine(line)) return invalidFormat();
  }
  std::optional<std::vector<IfsEntry>> entries = builder.finish();
  if (!entries) return invalidFormat();
  return std::move(*entries);
}

Result<std::vector<IfsEntry>> readIfsFile(const QString& path) {
  if (!QFileInfo::exists(path)) return Failure{kFileNotFoundMessage};
  // A folder opens on some platforms and then reads as empty; it is no .ifs file.
  if (QFileInfo(path).isDir()) return invalidFormat();
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return invalidFormat();
  return readIfs(file);
}

const IfsEntry* findEntry(const std::vector<IfsEntry>& entries, const QString& name) {
  if (entries.empty()) return nullptr;
  if (name.isEmpty()) return &entries.front();
  for (const IfsEntry& entry : entries) {
    if (entry.name.compare(name, Qt::CaseInsensitive) == 0) return &entry;
  }
  return nullptr;
}

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
