#include "core/params/ifs_file.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "../render/picture_diff.h"
#include "core/params/ifs_text.h"
#include "support/row_name.h"

namespace quill {
namespace {

QString dataPath(const char* name) {
  return QDir(QStringLiteral(QUILLMERE_TEST_DATA "/ifs")).filePath(QString::fromUtf8(name));
}

Result<std::vector<IfsEntry>> readBytes(const QByteArray& bytes) {
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  return readIfs(buffer);
}

bool sameMaps(const std::vector<WeightedMap>& x, const std::vector<WeightedMap>& y) {
  return std::equal(
      x.begin(), x.end(), y.begin(), y.end(), [](const WeightedMap& m, const WeightedMap& n) {
        return m.map.a == n.map.a && m.map.b == n.map.b && m.map.c == n.map.c &&
               m.map.d == n.map.d && m.map.e == n.map.e && m.map.f == n.map.f && m.p == n.p;
      });
}

// The reader's refusal: the invalid-format line, then where and what.
QString invalid(const char* where) {
  return kInvalidFormatMessage + u'\n' + QString::fromUtf8(where);
}

struct EntryRow {
  QString name;
  int mapCount;
  bool threeD;
  QString refusal;
  std::vector<WeightedMap> maps;  // checked when the entry can be drawn
};

TEST(IfsFile, ReadsEveryEntryOfACollection) {
  const Result<std::vector<IfsEntry>> read = readIfsFile(dataPath("collection.ifs"));
  ASSERT_TRUE(read.ok()) << read.message().toStdString();
  const std::vector<EntryRow> rows = {
      {"gasket",
       3,
       false,
       {},
       {{{0.5, 0, 0, 0.5, 0, 0}, 0.33},
        {{0.5, 0, 0, 0.5, 0.5, 0}, 0.33},
        {{0.5, 0, 0, 0.5, 0.25, 0.5}, 0.34}}},
      {"Gasket2", 1, false, {}, {{{0.5, 0, 0, 0.5, 0, 0}, 1}}},
      {"GASKET2", 1, false, {}, {{{0.25, 0, 0, 0.25, 0.1, 2.5}, -0.5}}},
      {"cube", 2, true, kThreeDimensionalMessage, {}},
      {"flat", 1, true, kThreeDimensionalMessage, {}},
      {"eleven", 11, false, tooManyMapsMessage(11), {}},
      {"six_numbers",
       0,
       false,
       invalid("Line 30, entry \"six_numbers\": a map needs 7 numbers; this entry has 6."),
       {}},
      {"no_numbers",
       0,
       false,
       invalid("Line 31, entry \"no_numbers\": a map needs 7 numbers; this entry has none."),
       {}},
      {"left", 1, false, {}, {{{0.5, 0, 0, 0.5, 0, 0}, 1}}},
      {"right", 1, false, {}, {{{0.5, 0, 0, 0.5, 0.5, 0}, 1}}},
  };
  ASSERT_EQ(read->size(), rows.size());
  for (std::size_t k = 0; k < rows.size(); ++k) {
    const EntryRow& row = rows[k];
    const IfsEntry& entry = (*read)[k];
    SCOPED_TRACE(row.name.toStdString());
    EXPECT_EQ(entry.name, row.name);
    EXPECT_EQ(entry.mapCount, row.mapCount);
    EXPECT_EQ(entry.threeD, row.threeD);
    EXPECT_EQ(entry.refusal, row.refusal);
    EXPECT_TRUE(sameMaps(entry.maps, row.maps));
  }
  EXPECT_EQ(tooManyMapsMessage(11), "This entry has 11 maps; Quillmere draws at most 10.");

  // Names match without regard to case; the first match wins; no name means the first entry.
  EXPECT_EQ(findEntry(*read, "GASKET"), &(*read)[0]);
  EXPECT_EQ(findEntry(*read, "gasket2"), &(*read)[1]);
  EXPECT_EQ(findEntry(*read, "Right"), &(*read)[9]);
  EXPECT_EQ(findEntry(*read, ""), &(*read)[0]);
  EXPECT_EQ(findEntry(*read, "gask"), nullptr);
  EXPECT_EQ(findEntry({}, ""), nullptr);
}

// Each refusal says where the file goes wrong, on a second line under the invalid-format one.
TEST(IfsFile, RefusesWhatDoesNotReadAsEntries) {
  struct Row {
    std::string name;
    Result<std::vector<IfsEntry>> read;
    const char* where;
  };
  const Row rows[] = {
      {"empty file", readIfsFile(dataPath("empty.ifs")), "The file holds no entry."},
      {"only comments and blanks", readIfsFile(dataPath("comments_only.ifs")),
       "The file holds no entry."},
      {"'{' on the line after the name", readIfsFile(dataPath("missing_open_brace.ifs")),
       "Line 1: \"fern\" stands outside any entry; an entry starts with its name and \"{\" on "
       "one line."},
      {"an entry left open", readIfsFile(dataPath("missing_close_brace.ifs")),
       "Line 2, entry \"fern\": \"{\" inside the entry; its \"}\" is missing."},
      {"a '}' without its entry", readIfsFile(dataPath("stray_close_brace.ifs")),
       "Line 2: \"}\" without an entry to close."},
      {"text where a number belongs", readIfsFile(dataPath("not_a_number.ifs")),
       "Line 1, entry \"fern\": \"zero\" is not a number."},
      {"a folder", readIfsFile(QStringLiteral(QUILLMERE_TEST_DATA "/ifs")),
       "This is a folder, not a file."},
      {"a header without a name", readBytes("(3D) { 1 2 3 4 5 6 7 }\n"),
       "Line 1: an entry needs a name before its \"{\"."},
      {"a '{' inside an entry", readBytes("a { 0.5 0 0 0.5 0 0 1 {\n}\n"),
       "Line 1, entry \"a\": \"{\" inside the entry; its \"}\" is missing."},
      {"a number too large for a double", readBytes("a {\r\n\r\n 1e999 0 0 0.5 0 0 1 }\n"),
       "Line 3, entry \"a\": \"1e999\" is too large a number."},
      {"a NUL byte", readBytes(QByteArray("a { 0.5 0 0 0.5 0 0 1 }\n\0", 26)),
       "Line 2 holds a NUL byte; this is not a text file."},
      {"the file ends inside a comment of an open entry", readBytes("\r\ra { 0.5 ; }"),
       "Line 3, entry \"a\": the file ends before the entry's \"}\"."},
      {"a long word quoted in part", readBytes("a { " + QByteArray(100, 'x') + " }"),
       "Line 1, entry \"a\": \"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx...\" is not a number."},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_FALSE(row.read.ok());
    EXPECT_EQ(row.read.message(), invalid(row.where));
  }
  EXPECT_EQ(readIfsFile(dataPath("no_such_file.ifs")).message(), kFileNotFoundMessage);
  // CR, LF and CR LF all end a comment; a byte order mark is no part of the first name.
  const Result<std::vector<IfsEntry>> lineEnds =
      readBytes("\xEF\xBB\xBFone {;x\r0.5 0 0 0.5 0 0 1}\r\ntwo {;x\n0.5 0 0 0.5 0 0 1}");
  ASSERT_TRUE(lineEnds.ok());
  ASSERT_EQ(lineEnds->size(), 2u);
  EXPECT_EQ((*lineEnds)[0].name, "one");
  EXPECT_EQ((*lineEnds)[1].mapCount, 1);
}

// A line holds whole maps or a part of one map; a line that ends one map and starts another has
// lost or gained a number, and the entry is refused there instead of read with shifted maps.
struct LayoutRow {
  std::string name;
  QByteArray bytes;
  int mapCount;       // of the first entry, when it reads
  const char* where;  // the refusal's second line; empty when the entry reads
};

class IfsLayout : public ::testing::TestWithParam<LayoutRow> {};

TEST_P(IfsLayout, ReadsWholeOrSplitMapsAndRefusesShiftedOnes) {
  const LayoutRow& row = GetParam();
  const Result<std::vector<IfsEntry>> read = readBytes(row.bytes);
  ASSERT_TRUE(read.ok()) << read.message().toStdString();
  const IfsEntry& entry = read->front();
  if (*row.where == 0) {
    EXPECT_TRUE(entry.refusal.isEmpty()) << entry.refusal.toStdString();
    EXPECT_EQ(int(entry.maps.size()), row.mapCount);
  } else {
    EXPECT_EQ(entry.refusal, invalid(row.where));
    EXPECT_TRUE(entry.maps.empty());
  }
}

const QByteArray kSevens = "1 2 3 4 5 6 7";

INSTANTIATE_TEST_SUITE_P(
    Rows, IfsLayout,
    ::testing::Values(
        LayoutRow{"one map a line", "a {\n" + kSevens + "\n" + kSevens + "\n}", 2, ""},
        LayoutRow{"two maps on one line", "a { " + kSevens + " " + kSevens + " }", 2, ""},
        LayoutRow{"maps split over lines", "a {\n1 2 3 4\n5 6 7\n1 2\n3 4 5\n6 7\n}", 2, ""},
        LayoutRow{"six then eight", "a {\n1 2 3 4 5 6\n7 " + kSevens + "\n}", 0,
                  "Line 2, entry \"a\": a map needs 7 numbers; this line has 6."},
        LayoutRow{"eight then six", "a {\n" + kSevens + " 8\n1 2 3 4 5 6\n}", 0,
                  "Line 2, entry \"a\": a map needs 7 numbers; this line has 8."},
        LayoutRow{"a map over two lines ended by the next line",
                  "a {\n" + kSevens + "\n1 2 3\n4 5 6\n7 " + kSevens + "\n}", 0,
                  "Lines 3 to 4, entry \"a\": a map needs 7 numbers; these lines have 6."},
        LayoutRow{"CR LF ends one line", "a {\r\n1 2 3 4 5 6\r\n7 " + kSevens + "\r\n}\r\n", 0,
                  "Line 2, entry \"a\": a map needs 7 numbers; this line has 6."},
        LayoutRow{"thirteen numbers without (3D)",
                  QByteArray(11, '\n') + "bad { " + kSevens + " 8 9 10 11 12 13 }", 0,
                  "Line 12, entry \"bad\": a map needs 7 numbers; this entry has 13."},
        LayoutRow{"seven 3-D maps without (3D)",
                  "solid {\n" + QByteArray(kSevens + " 8 9 10 11 12 13\n").repeated(7) + "}", 0,
                  "Line 2, entry \"solid\": a map needs 7 numbers; this line has 13."}),
    testing::RowName{});

// Bytes made up as they are read (`head`, then `fill` over and over), so a test can offer far
// more than it could hold, and count what the reader took.
class EndlessDevice : public QIODevice {
 public:
  EndlessDevice(QByteArray head, QByteArray fill, qint64 size, bool sequential)
      : head_(std::move(head)), fill_(fill), size_(size), sequential_(sequential) {
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
  }
  bool isSequential() const override { return sequential_; }
  qint64 size() const override { return sequential_ ? 0 : size_; }
  qint64 taken() const { return position_; }

 protected:
  qint64 readData(char* data, qint64 maxSize) override {
    const qint64 n = std::min(maxSize, size_ - position_);
    for (qint64 k = 0; k < n; ++k, ++position_)
      data[k] = position_ < head_.size() ? head_[position_]
                                         : fill_[(position_ - head_.size()) % fill_.size()];
    return n;
  }
  qint64 writeData(const char*, qint64) override { return -1; }

 private:
  QByteArray head_;
  QByteArray fill_;
  qint64 size_;
  bool sequential_;
  qint64 position_ = 0;
};

TEST(IfsFile, RefusesAbsurdSizesWithoutReadingThemWhole) {
  struct Row {
    std::string name;
    QByteArray head;
    QByteArray fill;
    qint64 size;
    bool sequential;
    qint64 mostRead;
    const char* where;
  };
  const char* tooLarge = "The file is larger than 16 MB.";
  const qint64 piece = qint64(64) << 10;  // a device read may run ahead of the limit by this
  const std::vector<Row> rows = {
      {"a line of 10^7 digits", "\r\na { 1", "1", 10'000'000, true, kMaxIfsLineBytes + 2 * piece,
       "Line 2 is longer than 65536 bytes."},
      {"200 MB of blank lines", "a {\n", "\n", 200'000'000, true, kMaxIfsFileBytes + 2 * piece,
       tooLarge},
      {"200 MB of numbers on short lines", "a {\n", "1 2 3 4 5 6 7\n", 200'000'000, true,
       kMaxIfsFileBytes + 2 * piece, tooLarge},
      {"a stated size of 200 MB", "a {\n", "1 2 3 4 5 6 7\n", 200'000'000, false, 0, tooLarge},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EndlessDevice device(row.head, row.fill, row.size, row.sequential);
    const Result<std::vector<IfsEntry>> read = readIfs(device);
    EXPECT_EQ(read.message(), invalid(row.where));
    EXPECT_LE(device.taken(), row.mostRead);
  }
  // Just within the limits, a file reads.
  const QByteArray longLine = "a { " + QByteArray(kMaxIfsLineBytes - 40, ' ') + "1 0 0 1 0 0 1 }";
  EXPECT_TRUE(readBytes(longLine).ok());
}

TEST(IfsFile, WritesTheGoldenFile) {
  const std::vector<WeightedMap> maps = {
      {{0.85, 0.04, -0.04, 0.85, 0, 1.6}, 0.85},
      {{0.1 + 0.2, 1.0 / 3, -0.0, 1e-300, 5e-324, std::numeric_limits<double>::max()}, 0},
      {{-1.5e-7, 123456789012345680, 1e21, 0.5, -2, 7}, -0.25},
  };
  const QByteArray written = ifsText(QStringLiteral("Fern (wide;\tcopy)"), maps);
  QFile golden(dataPath("written.ifs"));
  ASSERT_TRUE(golden.open(QIODevice::ReadOnly));
  EXPECT_EQ(written.toStdString(), golden.readAll().toStdString());

  const Result<std::vector<IfsEntry>> read = readBytes(written);
  ASSERT_TRUE(read.ok());
  ASSERT_EQ(read->size(), 1u);
  EXPECT_EQ((*read)[0].name, "Fern__wide__copy)");
  EXPECT_TRUE(sameMaps((*read)[0].maps, maps));
  EXPECT_TRUE(ifsText(QString(), {}).startsWith("Quillmere {\n"));
}

TEST(IfsFile, EveryPresetRoundTripsToTheSameDoubles) {
  for (int pattern = 0; pattern < 11; ++pattern) {
    const PatternEntry& preset = kPatterns[std::size_t(pattern)];
    SCOPED_TRACE(preset.menuCaption.toStdString());
    std::vector<WeightedMap> maps;
    for (const WeightedMap& r : testing::presetRows(pattern)) maps.push_back(r);
    ASSERT_EQ(int(maps.size()), preset.mapCount);
    const Result<std::vector<IfsEntry>> read = readBytes(ifsText(preset.panelCaption, maps));
    ASSERT_TRUE(read.ok());
    ASSERT_EQ(read->size(), 1u);
    const IfsEntry& entry = read->front();
    EXPECT_EQ(entry.name, QString(preset.panelCaption).replace(u' ', u'_'));
    EXPECT_EQ(entry.mapCount, preset.mapCount);
    EXPECT_TRUE(entry.refusal.isEmpty());
    EXPECT_TRUE(sameMaps(entry.maps, maps));
  }
}

}  // namespace
}  // namespace quill
