#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "core/maps/pattern_catalogue.h"
#include "core/params/param_file.h"
#include "support/fakes.h"
#include "support/row_name.h"
#include "support/scratch_mount.h"

namespace quill {
namespace {

using testing::PanelFixture;
using Row = std::array<QString, kColumnCount>;

const QString kNotFound =
    QStringLiteral("File not found.\nPlease make sure the file name you specify exists.");
const QString kInvalidFormat = QStringLiteral("Cannot load the file: invalid file format.");
const QString kDiskFull = QStringLiteral("Cannot save parameters: disk full.");
const QString kTryAgain = QStringLiteral("Cannot save parameters. Please try again.");
const Row kHalf = {"0.5", "0", "0", "0.5", "0", "0", "0.5"};

QByteArray readAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool writeAll(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool sameTable(const MapTable& x, const MapTable& y) {
  return x.mapCount == y.mapCount && x.mapA == y.mapA && x.mapB == y.mapB && x.mapC == y.mapC &&
         x.mapD == y.mapD && x.mapE == y.mapE && x.mapF == y.mapF && x.mapP == y.mapP &&
         x.mapCumP == y.mapCumP;
}

void load(PanelFixture& f, const QString& path) {
  f.dialogs.openAnswers.push_back(path);
  loadParameters(f.document);
}

void save(PanelFixture& f, const QString& path) {
  f.dialogs.saveAnswers.push_back(path);
  saveParameters(f.document);
}

struct RefusedFile {
  std::string name;
  QByteArray bytes;  // empty: no file at all
  QString message;
};

class LoadRefused : public ::testing::TestWithParam<RefusedFile> {};

TEST_P(LoadRefused, ShowsItsMessageAndChangesNothing) {
  const RefusedFile& c = GetParam();
  QTemporaryDir dir;
  PanelFixture f;
  f.setRow(1, kHalf);
  f.setRow(2, kHalf);
  ASSERT_TRUE(f.readTable());
  f.state.cell(2, kColE) = "edited";
  const auto grid = f.state.grid;
  const MapTable table = f.drawing.maps;

  const QString path = dir.filePath(QStringLiteral("refused.dat"));
  if (!c.bytes.isEmpty()) {
    ASSERT_TRUE(writeAll(path, c.bytes));
  }
  load(f, path);
  EXPECT_EQ(f.dialogs.messages, QStringList{c.message});
  EXPECT_TRUE(f.state.grid == grid);
  EXPECT_TRUE(sameTable(f.drawing.maps, table));
}

INSTANTIATE_TEST_SUITE_P(LoadParameters, LoadRefused,
                         ::testing::ValuesIn(std::vector<RefusedFile>{
                             {"missing file", {}, kNotFound},
                             {"too few fields", "2\r\n0.9,0,0,0.9,0,0,1\r\n0.9,0,0",
                              kInvalidFormat},
                         }),
                         testing::RowName{});

TEST(LoadParameters, FillsTheGridAndTheTable) {
  QTemporaryDir dir;
  PanelFixture f;
  for (int i = 1; i <= kGridRows; ++i) f.setRow(i, kHalf);
  ASSERT_TRUE(f.readTable());
  const auto cumP = f.drawing.maps.mapCumP;

  // Count 2.5 reads two rows; numbers show as the program writes them, text as it stood.
  const QString path = dir.filePath("two.dat");
  ASSERT_TRUE(writeAll(path, "2.5\r\n.25,-1e-3,abc,1,2,3,0.5\r\n1,0,0,1,0,0,.5\r\n7,7,7,7,7,7,7"));
  load(f, path);
  EXPECT_TRUE(f.dialogs.messages.isEmpty());
  EXPECT_EQ(f.drawing.maps.mapCount, 2);
  EXPECT_EQ(f.drawing.maps.mapA[1], 0.25);
  EXPECT_EQ(f.drawing.maps.mapB[1], -0.001);
  EXPECT_EQ(f.drawing.maps.mapP[2], 0.5);
  EXPECT_EQ(f.drawing.maps.mapCumP, cumP);  // left for the next reading of the panel
  EXPECT_EQ(f.state.cell(1, kColA), "0.25");
  EXPECT_EQ(f.state.cell(1, kColB), "-0.001");
  EXPECT_EQ(f.state.cell(1, kColC), "abc");
  EXPECT_EQ(f.state.cell(2, kColP), "0.5");
  for (int column = 0; column < kColumnCount; ++column)
    EXPECT_TRUE(f.state.cell(3, column).isEmpty());

  // A preset offered to Load: its first coefficient, below 1, is the count: the grid empties.
  load(f, QDir(QStringLiteral(QUILLMERE_PRESET_DIR)).filePath("Sierpinski.dat"));
  EXPECT_TRUE(f.dialogs.messages.isEmpty());
  EXPECT_EQ(f.drawing.maps.mapCount, 0);
  for (int i = 1; i <= kGridRows; ++i) EXPECT_TRUE(f.state.cell(i, kColA).isEmpty());

  // Cancel loads nothing, whatever was chosen before.
  f.setRow(1, kHalf);
  loadParameters(f.document);
  EXPECT_EQ(f.state.cell(1, kColA), "0.5");
  EXPECT_TRUE(f.dialogs.messages.isEmpty());
}

TEST(SaveParameters, WritesTheSavedLayout) {
  QTemporaryDir dir;
  PanelFixture f;
  const QString path = dir.filePath("out.dat");
  save(f, path);
  EXPECT_EQ(readAll(path), "0\r\n");

  f.setRow(1, {"0.5", "-0.25", "0", ".333333333333333", "1e-5", "0.5", " 0.5"});
  f.setRow(2, {"-1", "2", "12345678.9", "0", "1E+20", "0.75", "0.5"});
  f.setRow(4, kHalf);  // below the first empty a: not a map
  save(f, path);
  EXPECT_TRUE(f.dialogs.messages.isEmpty());
  QFile golden(QStringLiteral(QUILLMERE_TEST_DATA "/params/saved_two_maps.dat"));
  ASSERT_TRUE(golden.open(QIODevice::ReadOnly));
  EXPECT_EQ(readAll(path), golden.readAll());
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"out.dat"});

  // Cancel writes nothing; a grid the reading refuses neither creates nor changes a file.
  const QByteArray before = readAll(path);
  f.state.cell(1, kColB) = "abc";
  saveParameters(f.document);
  EXPECT_TRUE(f.dialogs.messages.isEmpty());
  save(f, path);
  save(f, dir.filePath("new.dat"));
  EXPECT_EQ(f.dialogs.messages,
            QStringList({"Invalid parameter value.", "Invalid parameter value."}));
  EXPECT_EQ(readAll(path), before);
  EXPECT_FALSE(QFile::exists(dir.filePath("new.dat")));
}

TEST(SaveParameters, FailuresKeepTheEarlierFile) {
  QTemporaryDir dir;
  const QString regular = dir.filePath("regular");
  ASSERT_TRUE(writeAll(regular, "earlier\r\n"));
  ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
  struct Case {
    const char* name;
    QString path;
  };
  const Case cases[] = {
      {"missing folder", dir.filePath("no/such/folder/out.dat")},
      {"folder under a regular file", regular + "/out.dat"},  // refused even to root
      {"target is a folder", dir.filePath("folder")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PanelFixture f;
    f.setRow(1, kHalf);
    save(f, c.path);
    EXPECT_EQ(f.dialogs.messages, QStringList{kTryAgain});
    EXPECT_EQ(readAll(regular), "earlier\r\n");
    EXPECT_TRUE(QFileInfo(dir.filePath("folder")).isDir());
  }
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            QStringList({"folder", "regular"}));
}

TEST(SaveParameters, ReadOnlyDisk) {
  testing::ScratchMount disk(64);
  if (!disk.mounted()) GTEST_SKIP() << "cannot mount a scratch filesystem here";
  const QString path = disk.filePath("earlier.dat");
  ASSERT_TRUE(writeAll(path, "1\r\n0.5,0,0,0.5,0,0,1\r\n"));
  ASSERT_TRUE(disk.makeReadOnly());

  PanelFixture f;
  f.setRow(1, kHalf);
  save(f, path);
  EXPECT_EQ(f.dialogs.messages, QStringList{kTryAgain});
  EXPECT_EQ(readAll(path), "1\r\n0.5,0,0,0.5,0,0,1\r\n");
}

TEST(SaveParameters, DiskFull) {
  testing::ScratchMount disk(16);
  const QString path = disk.mounted() ? disk.filePath("earlier.dat") : QString();
  const QByteArray earlier = "1\r\n0.25,0,0,0.25,0,0,1\r\n";
  PanelFixture f;
  for (int i = 1; i <= kGridRows; ++i) f.setRow(i, kHalf);  // more than the earlier file holds

  if (disk.mounted()) {
    ASSERT_TRUE(writeAll(path, earlier));
    ASSERT_TRUE(disk.fill());
    save(f, path);
    EXPECT_EQ(readAll(path), earlier);
    EXPECT_EQ(disk.entries(), QStringList({"earlier.dat", "filler"}));  // no temporary left
  } else {
    // No filesystem to fill: the document's writer fails as a full disk does instead.
    f.document.writeFile = [](const QString&, const QByteArray&, const SaveMessages& messages) {
      return Status(Failure{messages.diskFull});
    };
    save(f, QStringLiteral("unused.dat"));
  }
  EXPECT_EQ(f.dialogs.messages, QStringList{kDiskFull});
}

// A parameter file is smaller than a block, so the disk is full before its write or not at all;
// the writer it goes through is checked here with more bytes than the disk holds, in one buffered
// piece and past the buffer.
TEST(SaveParameters, ADiskFillingDuringTheWriteSaysDiskFull) {
  testing::ScratchMount disk(64);
  if (!disk.mounted()) GTEST_SKIP() << "cannot mount a scratch filesystem here";
  ASSERT_TRUE(disk.fill());
  QFile filler(disk.filePath(QStringLiteral("filler")));
  ASSERT_TRUE(filler.resize(filler.size() - 8192));  // room for a part of the file
  const QString path = disk.filePath(QStringLiteral("earlier.dat"));
  ASSERT_TRUE(writeAll(path, "earlier\r\n"));
  for (const qsizetype size : {9000, 100000}) {
    SCOPED_TRACE(size);
    const Status saved = writeFileAtomically(path, QByteArray(size, '1'), kParameterSaveMessages);
    EXPECT_EQ(saved.message(), kDiskFull);
    EXPECT_EQ(readAll(path), "earlier\r\n");
    EXPECT_EQ(disk.entries(), QStringList({"earlier.dat", "filler"}));
  }
}

// Every preset's maps survive a save and a load unchanged, and a second save writes the very
// same bytes.
TEST(ParamRoundTrip, EveryPresetThroughSaveAndLoad) {
  QTemporaryDir dir;
  for (int pattern = 0; pattern < kUserPattern; ++pattern) {
    SCOPED_TRACE(kPatterns[pattern].menuCaption.toStdString());
    PanelFixture f;
    choosePattern(f.document, pattern);
    const auto grid = f.state.grid;
    const QString first = dir.filePath(QStringLiteral("first%1.dat").arg(pattern));
    const QString second = dir.filePath(QStringLiteral("second%1.dat").arg(pattern));
    save(f, first);
    f.state.clearGrid();
    load(f, first);
    EXPECT_TRUE(f.state.grid == grid);
    EXPECT_EQ(f.drawing.maps.mapCount, kPatterns[pattern].mapCount);
    save(f, second);
    EXPECT_EQ(readAll(second), readAll(first));
    EXPECT_TRUE(f.dialogs.messages.isEmpty());
  }
}

}  // namespace
}  // namespace quill
