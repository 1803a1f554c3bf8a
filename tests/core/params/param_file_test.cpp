#include "core/params/param_file.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QStringList>
#include <vector>

#include "core/maps/map_table.h"
#include "core/params/field_reader.h"
#include "support/row_name.h"

namespace quill {
namespace {

QByteArray golden(const char* name) {
  QFile file(QStringLiteral(QUILLMERE_TEST_DATA "/params/") + QString::fromLatin1(name));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
  return file.readAll();
}

// What a read gave: its rows, or the message of its refusal (empty when read).
struct Read {
  QString message;
  FileRows rows;
};
Read outcome(const Result<FileRows>& read) {
  return read ? Read{QString(), *read} : Read{read.message(), {}};
}

// The panel texts of the rows, row by row, fields joined by '|' and rows by '/'.
std::string texts(const Read& content) {
  QStringList rows;
  for (const FileRow& row : content.rows) {
    QStringList fields;
    for (const FileValue& value : row) fields << value.panelText;
    rows << fields.join(u'|');
  }
  return rows.join(u'/').toStdString();
}

Read readSaved(QByteArray bytes) {
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  return outcome(readSavedLayout(buffer));
}

Read readPreset(QByteArray bytes, int mapCount) {
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  return outcome(readPresetLayout(buffer, mapCount));
}

const std::string kHalfRow = "0.5|0|0|0.5|0|0|0.5";

TEST(ParamFileRead, FieldSyntax) {
  struct Case {
    const char* name;
    QByteArray bytes;
    std::string rows;  // panel texts as texts() joins them
  };
  // clang-format off
  const Case cases[] = {
      {"line per row, CR LF", "1\r\n0.5,0,0,0.5,0,0,0.5\r\n", kHalfRow},
      {"LF and a lone CR", "1\n0.5,0,0\r0.5,0,0,0.5", kHalfRow},
      {"line breaks anywhere", "1,0.5\r\n\r\n0\r\n0,0.5,0,\r\n0,0.5", kHalfRow},
      {"blanks before and after fields", "  1 \r\n\t0.5 , 0,0 ,0.5,0,0,0.5 ", kHalfRow},
      {"no leading zero", "1\r\n.5,-.25,+.75,5.,0,0,.5", "0.5|-0.25|0.75|5|0|0|0.5"},
      {"exponents", "1\r\n1e-3,2.5E+1,1E-05,-4e20,1e-400,0,1", "0.001|25|1E-05|-4E+20|0|0|1"},
      {"digits beyond fifteen", "1\r\n0.12345678901234567,0,0,0,0,0,1",
       "0.123456789012346|0|0|0|0|0|1"},
      {"quoted text", "1\r\n\"abc\",\"0.5\",\"a,b\" ,\"\",\" x \",0,1", "abc|0.5|a,b|| x |0|1"},
      {"text that is no number", "1\r\nabc,1e999,0x10,x y ,0,0,1", "abc|1e999|0x10|x y|0|0|1"},
      {"empty field between commas", "1\r\n0.5,,0,0.5,0,0,0.5", "0.5||0|0.5|0|0|0.5"},
      {"fields after the rows ignored", "1\r\n0.5,0,0,0.5,0,0,0.5\r\n9,\"unterminated", kHalfRow},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Read content = readSaved(c.bytes);
    EXPECT_EQ(content.message, QString());
    EXPECT_EQ(texts(content), c.rows);
  }
}

TEST(ParamFileRead, NumbersAndTextForTheTable) {
  const Read content = readSaved("1\r\n.5,\"0.25\",abc,-1e-3,0,0,1");
  ASSERT_EQ(content.rows.size(), 1u);
  const FileRow& row = content.rows[0];
  EXPECT_EQ(row[kColA].number, 0.5);
  EXPECT_EQ(row[kColB].number, 0.25);  // quoted: shown as written, but still its value
  EXPECT_EQ(row[kColC].number, 0.0);   // not a number: 0 in the table, the text in the panel
  EXPECT_EQ(row[kColD].number, -0.001);
}

// The count on a saved file's first line, and the files refused whole; each row on its own.
struct CountCase {
  const char* name;
  QByteArray bytes;
  QString error;
  int rows;
};
class ParamFileCount : public ::testing::TestWithParam<CountCase> {};

TEST_P(ParamFileCount, ReadsTheRowsItSaysOrRefusesTheFile) {
  const Read content = readSaved(GetParam().bytes);
  EXPECT_EQ(content.message, GetParam().error);
  EXPECT_EQ(int(content.rows.size()), GetParam().rows);
}

const QByteArray kRow = "0.5,0,0,0.5,0,0,0.5\r\n";
// clang-format off
INSTANTIATE_TEST_SUITE_P(CountsAndRefusals, ParamFileCount, ::testing::ValuesIn(std::vector<CountCase>{
    {"count 0", "0\r\n" + kRow, QString(), 0},
    {"negative count", "-3\r\n" + kRow, QString(), 0},
    {"count below 1", "0.75\r\n" + kRow, QString(), 0},
    {"count 2.5 reads two rows", "2.5\r\n" + kRow + kRow + kRow, QString(), 2},
    {"count 10", "10\r\n" + kRow.repeated(10), QString(), 10},
    {"count 10.5 reads ten rows", "10.5\r\n" + kRow.repeated(11), QString(), 10},
    {"count 11", "11\r\n" + kRow.repeated(11), kInvalidFormatMessage, 0},
    {"huge count", "1e300\r\n" + kRow, kInvalidFormatMessage, 0},
    {"count not a number", "abc\r\n" + kRow, kInvalidFormatMessage, 0},
    {"count NaN", "NaN\r\n" + kRow, kInvalidFormatMessage, 0},
    {"empty file", "", kInvalidFormatMessage, 0},
    {"only blank lines", "\r\n \r\n", kInvalidFormatMessage, 0},
    {"too few fields", "2\r\n" + kRow + "0.5,0,0,0.5,0,0", kInvalidFormatMessage, 0},
    {"unterminated quote", "1\r\n\"0.5,0,0,0.5,0,0,0.5\r\n", kInvalidFormatMessage, 0},
    {"text after a closing quote", "1\r\n\"a\"b,0,0,0.5,0,0,0.5", kInvalidFormatMessage, 0},
    {"NUL byte", QByteArray("1\r\n0.5,0") + '\0' + ",0,0.5,0,0,0.5", kInvalidFormatMessage, 0},
    {"overlong field", "1\r\n" + QByteArray(FieldReader::kMaxFieldBytes + 1, '1') + ",0,0,0,0,0,1",
     kInvalidFormatMessage, 0},
}), testing::RowName());
// clang-format on

TEST(ParamFileRead, GoldenFiles) {
  EXPECT_EQ(texts(readSaved(golden("one_line.dat"))), kHalfRow + "/0.5|0|0|0.5|0.5|0|0.5");
  EXPECT_EQ(texts(readSaved(golden("quoted_lf.dat"))),
            "abc|0|0.5|a,b|0|0|0.5/-0.5|0.001|25||x y|0|0.5");
  EXPECT_EQ(texts(readSaved(golden("saved_empty.dat"))), "");
  EXPECT_EQ(texts(readSaved(golden("saved_two_maps.dat"))),
            "0.5|-0.25|0|0.333333333333333|1E-05|0.5|0.5/-1|2|12345678.9|0|1E+20|0.75|0.5");
}

TEST(ParamFileRead, LayoutsOfferedToEachOther) {
  // A saved file read as a preset: every value one place on, the count becoming a of map 1.
  const Read asPreset = readPreset(golden("saved_two_maps.dat"), 2);
  EXPECT_EQ(asPreset.message, QString());
  EXPECT_EQ(texts(asPreset),
            "2|0.5|-0.25|0|0.333333333333333|1E-05|0.5/0.5|-1|2|12345678.9|0|1E+20|0.75");

  // A preset read by Load: its first coefficient is taken as the count; 0.5 reads no rows.
  const QByteArray preset = "0.5,0,0,0.5,0,0,0.5\r\n0.5,0,0,0.5,0.5,0,0.5\r\n";
  const Read asSaved = readSaved(preset);
  EXPECT_EQ(asSaved.message, QString());
  EXPECT_TRUE(asSaved.rows.empty());

  // Extra rows of a preset are ignored; a short one is refused whole.
  EXPECT_EQ(texts(readPreset(preset, 1)), kHalfRow);
  EXPECT_EQ(readPreset(preset, 3).message, kInvalidFormatMessage);
  EXPECT_TRUE(readPreset(preset, 3).rows.empty());
}

TEST(ParamFileRead, MissingAndUnreadablePaths) {
  const QString missing = QStringLiteral(QUILLMERE_TEST_DATA "/params/no_such_file.dat");
  EXPECT_EQ(readSavedFile(missing).message(), kFileNotFoundMessage);
  EXPECT_EQ(readPresetFile(missing, 3).message(), kFileNotFoundMessage);
  EXPECT_EQ(readSavedFile(QStringLiteral(QUILLMERE_TEST_DATA "/params")).message(),
            kInvalidFormatMessage);  // a folder
}

TEST(ParamFileWrite, SavedLayoutByteForByte) {
  MapTable maps;
  EXPECT_EQ(savedLayoutText(maps), golden("saved_empty.dat"));

  maps.mapCount = 2;
  const double row1[] = {0.5, -0.25, 0, 1.0 / 3.0, 1e-5, 0.5, 0.5};
  const double row2[] = {-1, 2, 12345678.9, -0.0, 1e20, 0.75, 0.5};
  for (int i = 1; i <= 2; ++i) {
    const double* v = i == 1 ? row1 : row2;
    maps.mapA[i] = v[0];
    maps.mapB[i] = v[1];
    maps.mapC[i] = v[2];
    maps.mapD[i] = v[3];
    maps.mapE[i] = v[4];
    maps.mapF[i] = v[5];
    maps.mapP[i] = v[6];
  }
  maps.mapA[3] = 9;  // above mapCount: not written
  EXPECT_EQ(savedLayoutText(maps), golden("saved_two_maps.dat"));
}

}  // namespace
}  // namespace quill
