#include "core/params/ifs_file.h"

#include <QByteArrayView>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <optional>

#include "core/maps/map_table.h"
#include "core/maps/number_text.h"
#include "core/params/line_source.h"

namespace quill {

namespace {

constexpr int kPlaneNumbers = 7;   // a b c d e f p
constexpr int kSpaceNumbers = 13;  // a 3-D map: nine matrix entries, three, p
// An entry's numbers are kept only while they could still make a drawable entry.
constexpr qint64 kMaxKeptNumbers = qint64(kPlaneNumbers) * kMaxMaps;
// Text of the file quoted in a message is cut to this many characters.
constexpr qsizetype kQuotedChars = 40;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }
bool isSeparator(char c) { return isBlank(c) || c == ','; }

// The second line of a refusal: where the fault is, "Line 12" or "Line 12, entry "bad"", and what.
QString located(qint64 line, const QString& entry, const QString& what) {
  QString text = QCoreApplication::translate("Messages", "Line %1").arg(line);
  if (!entry.isEmpty()) text += QStringLiteral(", entry \"%1\"").arg(entry);
  return text + QStringLiteral(": ") + what;
}

Failure invalidFormat(const QString& detail) {
  return Failure{kInvalidFormatMessage + u'\n' + detail};
}

// A piece of the file as a message quotes it.
QString quoted(QByteArrayView bytes) {
  QString text = QString::fromUtf8(bytes.trimmed());
  if (text.size() > kQuotedChars) text = text.first(kQuotedChars) + QStringLiteral("...");
  return u'"' + text + u'"';
}

// "a map needs 7 numbers; this entry has 13."
QString sevensText(const QString& holder, qint64 count) {
  return QCoreApplication::translate("Messages", "a map needs %1 numbers; %2 %3.")
      .arg(kPlaneNumbers)
      .arg(holder,
           count == 0 ? QCoreApplication::translate("Messages", "none") : QString::number(count));
}

// Builds the entries line by line; each step returns false, with problem() saying where and why,
// when the file is not an .ifs file.
//
// A map's numbers may stand on one line or run over several, and a line may hold several whole
// maps; but a line that starts inside a map and goes on past its end, or starts a map and ends
// inside the next, has lost or gained a number: the entry is refused there rather than read
// with its numbers shifted into the wrong maps.
class EntryBuilder {
 public:
  bool addLine(QByteArrayView text, qint64 lineNumber, qint64 lineStart) {
    line_ = lineNumber;
    if (const qsizetype comment = text.indexOf(';'); comment >= 0) text = text.first(comment);
    qsizetype i = 0;
    if (inside_) startSegment();
    while (i < text.size()) {
      if (!inside_) {
        while (i < text.size() && isBlank(text[i])) ++i;
        if (i == text.size()) break;
        const qsizetype brace = text.indexOf('{', i);
        if (brace < 0) {
          const QByteArrayView rest = text.sliced(i);
          return fail(rest.contains('}')
                          ? located(line_, {},
                                    QCoreApplication::translate("Messages",
                                                                "\"}\" without an entry to close."))
                          : located(line_, {},
                                    QStringLiteral("%1 stands outside any entry; an entry starts "
                                                   "with its name and \"{\" on one line.")
                                        .arg(quoted(rest))));
        }
        if (!open(text.sliced(i, brace - i), lineStart + i)) return false;
        i = brace + 1;
        startSegment();
        continue;
      }
      while (i < text.size() && isSeparator(text[i])) ++i;
      if (i == text.size()) break;
      if (text[i] == '}') {
        if (!close(lineStart + i + 1)) return false;
        ++i;
        continue;
      }
      qsizetype end = i;
      while (end < text.size() && !isSeparator(text[end]) && text[end] != '{' && text[end] != '}')
        ++end;
      const std::optional<double> number =
          end == i ? std::nullopt : parseNumber(token(text.sliced(i, end - i)));
      if (!number) {
        // A name and '{' where a number belongs: the entry before lacks its '}'.
        if (text.sliced(i).contains('{')) {
          return fail(located(line_, name_,
                              QCoreApplication::translate(
                                  "Messages", "\"{\" inside the entry; its \"}\" is missing.")));
        }
        const QString quote = quoted(text.sliced(i, end - i));
        return fail(located(line_, name_,
                            looksNumeric(token_) ? quote + QStringLiteral(" is too large a number.")
                                                 : quote + QStringLiteral(" is not a number.")));
      }
      if (numberCount_ % kPlaneNumbers == 0) mapLine_ = line_;
      if (numberCount_ < kMaxKeptNumbers) numbers_.push_back(*number);
      ++numberCount_;
      lastLine_ = line_;
      i = end;
    }
    if (inside_) endSegment();
    return true;
  }

  // The entries, or nothing (problem() saying why) when an entry is left open or there is none.
  std::optional<std::vector<IfsEntry>> finish() {
    if (inside_) {
      fail(located(
          headerLine_, name_,
          QCoreApplication::translate("Messages", "the file ends before the entry's \"}\".")));
      return std::nullopt;
    }
    if (entries_.empty()) {
      fail(QCoreApplication::translate("Messages", "The file holds no entry."));
      return std::nullopt;
    }
    return std::move(entries_);
  }

  const QString& problem() const { return problem_; }

 private:
  // One text reused for every number: a file of millions of them allocates none.
  const QString& token(QByteArrayView bytes) {
    token_.resize(bytes.size());
    for (qsizetype k = 0; k < bytes.size(); ++k) token_[k] = QLatin1Char(bytes[k]);
    return token_;
  }

  bool fail(QString problem) {
    problem_ = std::move(problem);
    return false;
  }

  bool open(QByteArrayView header, qint64 headerStart) {
    if (header.contains('}')) {
      return fail(located(
          line_, {}, QCoreApplication::translate("Messages", "\"}\" without an entry to close.")));
    }
    // A byte order mark is no part of a name, wherever a file was cut or joined.
    while (header.startsWith("\xEF\xBB\xBF")) {
      header = header.sliced(3);
      headerStart += 3;
    }
    qsizetype nameEnd = 0;
    while (nameEnd < header.size() && !isBlank(header[nameEnd]) && header[nameEnd] != '(')
      ++nameEnd;
    if (nameEnd == 0) {
      return fail(located(
          line_, {},
          QCoreApplication::translate("Messages", "an entry needs a name before its \"{\".")));
    }
    name_ = QString::fromUtf8(header.first(nameEnd));
    threeD_ = QByteArray(header.data(), header.size()).toLower().contains("(3d)");
    begin_ = headerStart;
    headerLine_ = line_;
    numbers_.clear();
    numberCount_ = 0;
    misplaced_.reset();
    inside_ = true;
    return true;
  }

  // The numbers of the entry on one line: a segment, from segmentStart_ to numberCount_.
  void startSegment() {
    segmentStart_ = numberCount_;
    segmentMapLine_ = mapLine_;
    linesBefore_ = lastLine_;
  }
  void endSegment() {
    const qint64 start = segmentStart_;
    const qint64 count = numberCount_ - start;
    if (count == 0 || misplaced_) return;
    const bool wholeMaps = start % kPlaneNumbers == 0 && count % kPlaneNumbers == 0;
    const bool withinOneMap = start / kPlaneNumbers == (start + count - 1) / kPlaneNumbers;
    if (wholeMaps || withinOneMap) return;
    if (start % kPlaneNumbers == 0) {
      // Starts a map and ends inside the next.
      misplaced_ =
          located(line_, name_,
                  sevensText(QCoreApplication::translate("Messages", "this line has"), count));
    } else if (segmentMapLine_ == linesBefore_) {
      // The map begun on an earlier line is ended here with numbers of the next.
      misplaced_ = located(segmentMapLine_, name_,
                           sevensText(QCoreApplication::translate("Messages", "this line has"),
                                      start % kPlaneNumbers));
    } else {
      misplaced_ = QCoreApplication::translate("Messages", "Lines %1 to %2, entry \"%3\": ")
                       .arg(segmentMapLine_)
                       .arg(linesBefore_)
                       .arg(name_) +
                   sevensText(QCoreApplication::translate("Messages", "these lines have"),
                              start % kPlaneNumbers);
    }
  }

  bool close(qint64 end) {
    endSegment();
    if (entries_.size() >= std::size_t(kMaxIfsEntries)) {
      return fail(
          located(line_, name_,
                  QCoreApplication::translate("Messages", "the file holds more than %1 entries.")
                      .arg(kMaxIfsEntries)));
    }
    inside_ = false;
    IfsEntry entry;
    entry.name = name_;
    entry.threeD = threeD_;
    entry.begin = begin_;
    entry.end = end;
    const auto refuse = [&](const QString& detail) {
      entry.refusal = kInvalidFormatMessage + u'\n' + detail;
    };
    if (threeD_) {
      entry.mapCount = int(numberCount_ / kSpaceNumbers);
      entry.refusal = kThreeDimensionalMessage;
    } else {
      entry.mapCount = int(numberCount_ / kPlaneNumbers);
      if (numberCount_ == 0 || numberCount_ % kPlaneNumbers != 0) {
        refuse(located(
            headerLine_, name_,
            sevensText(QCoreApplication::translate("Messages", "this entry has"), numberCount_)));
      } else if (misplaced_) {
        refuse(*misplaced_);
      } else if (entry.mapCount > kMaxMaps) {
        entry.refusal = tooManyMapsMessage(entry.mapCount);
      } else {
        for (std::size_t k = 0; k < numbers_.size(); k += kPlaneNumbers) {
          const double* n = numbers_.data() + k;
          entry.maps.push_back({{n[0], n[1], n[2], n[3], n[4], n[5]}, n[6]});
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
  qint64 begin_ = 0;                  // the open entry's first byte
  qint64 headerLine_ = 0;             // the line of its '{'
  std::vector<double> numbers_;       // the first kMaxKeptNumbers of the open entry
  qint64 numberCount_ = 0;            // all of them
  qint64 line_ = 0;                   // the line being read
  qint64 mapLine_ = 0;                // the line of the first number of the map being read
  qint64 lastLine_ = 0;               // the last line that held a number
  qint64 segmentStart_ = 0;           // numbers of the entry before this line
  qint64 segmentMapLine_ = 0;         // mapLine_ as this line began
  qint64 linesBefore_ = 0;            // lastLine_ as this line began
  std::optional<QString> misplaced_;  // the first line of the entry that broke a map
  QString token_;
  QString problem_;
};

}  // namespace

QString tooManyMapsMessage(int mapCount) {
  return QCoreApplication::translate("Messages",
                                     "This entry has %1 maps; Quillmere draws at most 10.")
      .arg(mapCount);
}

Result<std::vector<IfsEntry>> readIfs(QIODevice& device) {
  // A device that knows its size is refused at once when it is too large.
  if (!device.isSequential() && device.size() - device.pos() > kMaxIfsFileBytes)
    return invalidFormat(LineSource::tooLargeText(kMaxIfsFileBytes));
  LineSource lines(device, kMaxIfsFileBytes, kMaxIfsLineBytes);
  EntryBuilder builder;
  QByteArrayView line;
  for (;;) {
    const LineSource::Status status = lines.next(line);
    if (status == LineSource::Status::End) break;
    if (status == LineSource::Status::Refused) return invalidFormat(lines.problem());
    qint64 start = lines.start();
    if (lines.number() == 1 && line.startsWith("\xEF\xBB\xBF")) {
      line = line.sliced(3);
      start += 3;
    }
    if (!builder.addLine(line, lines.number(), start)) return invalidFormat(builder.problem());
  }
  std::optional<std::vector<IfsEntry>> entries = builder.finish();
  if (!entries) return invalidFormat(builder.problem());
  return std::move(*entries);
}

Result<std::vector<IfsEntry>> readIfsFile(const QString& path) {
  if (!QFileInfo::exists(path)) return Failure{kFileNotFoundMessage};
  // A folder opens on some platforms and then reads as empty; it is no .ifs file.
  if (QFileInfo(path).isDir())
    return invalidFormat(QCoreApplication::translate("Messages", "This is a folder, not a file."));
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return Failure{kUnreadableIfsMessage};
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

}  // namespace quill
