#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "core/maps/number_text.h"
#include "core/maths/attractor_box.h"
#include "core/maths/fit_to_square.h"
#include "core/params/ifs_text.h"
#include "support/fakes.h"
#include "support/row_name.h"
#include "support/scratch_mount.h"

namespace quill {
namespace {

using testing::PanelFixture;

const QString kGallery = QStringLiteral(QUILLMERE_TEST_DATA "/ifs/gallery.ifs");

// The grid's maps as numbers, after the import filled it.
std::vector<PlaneMap> gridMaps(PanelFixture& f) {
  EXPECT_TRUE(f.readTable());
  std::vector<PlaneMap> maps;
  const MapTable& t = f.drawing.maps;
  for (int i = 1; i <= t.mapCount; ++i) {
    maps.push_back({t.mapA[i], t.mapB[i], t.mapC[i], t.mapD[i], t.mapE[i], t.mapF[i]});
  }
  return maps;
}

TEST(ImportIfs, TheChosenEntryFillsTheGridFittedIntoTheSquare) {
  PanelFixture f;
  f.setRow(6, {"1", "2", "3", "4", "5", "6", "7"});  // rows below the entry's are emptied
  f.dialogs.openIfsAnswers = {kGallery};
  f.dialogs.entryAnswers = {{1, true}};
  importIfs(f.document);
  EXPECT_TRUE(f.dialogs.messages.isEmpty()) << f.dialogs.messages.join(u'|').toStdString();
  ASSERT_EQ(f.dialogs.shownEntries.size(), 4u);
  EXPECT_EQ(f.dialogs.shownEntries[0].name, "Fern");
  EXPECT_EQ(f.dialogs.shownEntries[0].mapCount, 4);
  EXPECT_EQ(f.dialogs.shownEntries[2].note, kThreeDimensionalMessage);
  EXPECT_EQ(f.state.caption, "gasket");
  EXPECT_TRUE(f.state.cell(6, kColA).isEmpty());
  EXPECT_EQ(f.state.cell(1, kColA), "0.5");   // a, b, c, d as written
  EXPECT_EQ(f.state.cell(3, kColP), "0.34");  // p as written
  // Fitted: the gasket's box [-40, -38.5 + 0.5·3.5]... lies centred in the square, 96 % wide.
  const Box box = *attractorBox(gridMaps(f));
  EXPECT_NEAR(box.xmin, 0.02, 1e-9);
  EXPECT_NEAR(box.xmax, 0.98, 1e-9);
  EXPECT_NEAR(box.ymin + box.ymax, 1.0, 1e-9);
  EXPECT_FALSE(f.document.fitImports == false);
}

TEST(ImportIfs, RefusalsChangeNothing) {
  QTemporaryDir dir;
  const QString eleven = dir.filePath(QStringLiteral("eleven.ifs"));
  {
    QFile file(eleven);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Many {\n" + QByteArray("0.1 0 0 0.1 0 0 0.1\n").repeated(11) + "}\nOther{}\n");
  }
  const QString noise = dir.filePath(QStringLiteral("noise.ifs"));
  {
    QFile file(noise);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Broken { 0.5 0 0 0.5 0 0");
  }
  struct Case {
    const char* name;
    QString path;
    std::optional<int> entry;
    QString message;  // empty: Cancel, nothing shown
  };
  const Case cases[] = {
      {"three-dimensional", kGallery, 2, kThreeDimensionalMessage},
      {"more than ten maps", eleven, 0,
       QStringLiteral("This entry has 11 maps; Quillmere draws at most 10.")},
      {"a missing brace", noise, std::nullopt,
       kInvalidFormatMessage +
           QStringLiteral("\nLine 1, entry \"Broken\": the file ends before the entry's \"}\".")},
      {"no such file", dir.filePath(QStringLiteral("none.ifs")), std::nullopt,
       kFileNotFoundMessage},
      {"Cancel in the chooser", kGallery, std::nullopt, QString()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PanelFixture f;
    choosePattern(f.document, kFernPattern);
    const auto grid = f.state.grid;
    f.dialogs.openIfsAnswers = {c.path};
    f.dialogs.entryAnswers = {{c.entry, true}};
    importIfs(f.document);
    EXPECT_EQ(f.dialogs.messages, c.message.isEmpty() ? QStringList() : QStringList{c.message});
    EXPECT_EQ(f.state.grid, grid);
    EXPECT_EQ(f.state.caption, "Fern");
  }
}

TEST(ExportIfs, WritesTheGridNamedAfterTheCaptionAndReadsBackTheSameDoubles) {
  QTemporaryDir dir;
  PanelFixture f;
  choosePattern(f.document, kChristmasTreePattern);
  const std::vector<PlaneMap> before = gridMaps(f);
  f.dialogs.saveIfsAnswers = {dir.filePath(QStringLiteral("tree.ifs"))};
  exportIfs(f.document);
  EXPECT_TRUE(f.dialogs.messages.isEmpty());
  const Result<std::vector<IfsEntry>> read = readIfsFile(dir.filePath(QStringLiteral("tree.ifs")));
  ASSERT_TRUE(read);
  ASSERT_EQ(read->size(), 1u);
  EXPECT_EQ(read->front().name, "Christmas_Tree");
  ASSERT_EQ(read->front().maps.size(), before.size());
  for (std::size_t i = 0; i < before.size(); ++i) {
    EXPECT_EQ(read->front().maps[i].map.a, before[i].a);
    EXPECT_EQ(read->front().maps[i].map.f, before[i].f);
  }

  PanelFixture bad;
  bad.setRow(1, {"0.5", "x", "0", "0.5", "0", "0", "1"});
  bad.dialogs.saveIfsAnswers = {dir.filePath(QStringLiteral("bad.ifs"))};
  exportIfs(bad.document);
  EXPECT_EQ(bad.dialogs.messages, QStringList{kInvalidValueMessage});
  EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("bad.ifs"))));
}

QByteArray readAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

bool writeAll(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The grid's entry as Export writes it, its lines ending in CR LF and without the last one.
QByteArray entryInCrLf(PanelFixture& f) {
  std::vector<WeightedMap> maps;
  for (const PlaneMap& m : gridMaps(f)) maps.push_back({m, 0});
  const MapTable& t = f.drawing.maps;
  for (int i = 1; i <= t.mapCount; ++i) maps[std::size_t(i - 1)].p = t.mapP[i];
  QByteArray text = ifsText(f.state.caption, maps);
  text.chop(1);
  return text.replace("\n", "\r\n");
}

// A collection as found in the wild: a byte order mark, comments, CR LF, no line end at the end.
const QByteArray kHead = "\xEF\xBB\xBF; Textbook systems\r\nfirst { 0.5 0 0 0.5 0 0 1 }\r\n\r\n";
const QByteArray kOldFern = "fern (the old one) {\r\n  0.5 0 0 0.5 0 0 1 ; old\r\n}";
const QByteArray kTail = " ; kept\r\nlast { 0.5 0 0 0.5 0.5 0 1 } ; end";
const QByteArray kCollection = kHead + kOldFern + kTail;

struct ExportRow {
  std::string name;
  QByteArray existing;
  int pattern;
  CollectionChoice answer;
  // The file afterwards, given the grid's entry (CR LF lines, no last line end).
  std::function<QByteArray(const QByteArray& entry)> expected;
  const char* question;  // the question's last line
  const char* message;   // shown after the answer; empty for none
};

class ExportOntoAFile : public ::testing::TestWithParam<ExportRow> {};

// Export onto an existing file asks; "Add to the collection" keeps every byte but the entry of
// the same name, "Replace the file" leaves only the entry, Cancel and refusals change nothing.
TEST_P(ExportOntoAFile, AddsReplacesOrKeeps) {
  const ExportRow& row = GetParam();
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("textbook.ifs"));
  ASSERT_TRUE(writeAll(path, row.existing));
  PanelFixture f;
  choosePattern(f.document, row.pattern);
  f.dialogs.saveIfsAnswers = {path};
  f.dialogs.collectionAnswers = {row.answer};
  exportIfs(f.document);

  ASSERT_EQ(f.dialogs.questions.size(), 1);
  EXPECT_TRUE(f.dialogs.questions[0].startsWith(QStringLiteral("textbook.ifs already exists.\n")));
  EXPECT_EQ(f.dialogs.questions[0].section(u'\n', -1), QString::fromUtf8(row.question));
  EXPECT_EQ(f.dialogs.messages,
            *row.message ? QStringList{QString::fromUtf8(row.message)} : QStringList());
  EXPECT_EQ(readAll(path).toStdString(), row.expected(entryInCrLf(f)).toStdString());
}

const char* kAskFern = "Adding replaces the collection's entry \"fern\".";
const char* kAskTree = "Add the entry \"Tree\" to the collection, or replace the file?";

INSTANTIATE_TEST_SUITE_P(
    Rows, ExportOntoAFile,
    ::testing::Values(
        ExportRow{"Add replaces the entry of its name in place", kCollection, kFernPattern,
                  CollectionChoice::AddToCollection,
                  [](const QByteArray& entry) { return kHead + entry + kTail; }, kAskFern, ""},
        ExportRow{"Add appends an entry of a new name", kCollection, kTreePattern,
                  CollectionChoice::AddToCollection,
                  [](const QByteArray& entry) { return kCollection + "\r\n\r\n" + entry + "\r\n"; },
                  kAskTree, ""},
        ExportRow{
            "Replace leaves only the entry", kCollection, kFernPattern,
            CollectionChoice::ReplaceFile,
            [](const QByteArray& entry) { return QByteArray(entry).replace("\r\n", "\n") + "\n"; },
            kAskFern, ""},
        ExportRow{"Cancel keeps the file", kCollection, kFernPattern, CollectionChoice::Cancel,
                  [](const QByteArray&) { return kCollection; }, kAskFern, ""},
        ExportRow{"Add refuses a file that is no collection", "Notes on ferns\n", kFernPattern,
                  CollectionChoice::AddToCollection,
                  [](const QByteArray&) { return QByteArray("Notes on ferns\n"); },
                  "Add the entry \"Fern\" to the collection, or replace the file?",
                  "Cannot load the file: invalid file format.\nLine 1: \"Notes on ferns\" stands "
                  "outside any entry; an entry starts with its name and \"{\" on one line."}),
    testing::RowName{});

TEST(ExportIfs, RefusesAGridWithoutMapsBeforeAskingAnything) {
  QTemporaryDir dir;
  const QString existing = dir.filePath(QStringLiteral("existing.ifs"));
  ASSERT_TRUE(writeAll(existing, kCollection));
  for (const QString& path : {dir.filePath(QStringLiteral("new.ifs")), existing}) {
    PanelFixture f;
    f.dialogs.saveIfsAnswers = {path};
    f.dialogs.collectionAnswers = {CollectionChoice::ReplaceFile};
    exportIfs(f.document);
    EXPECT_EQ(f.dialogs.messages, QStringList{kNoMapsToExportMessage});
    EXPECT_TRUE(f.dialogs.questions.isEmpty());
  }
  EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("new.ifs"))));
  EXPECT_EQ(readAll(existing), kCollection);
}

// A disk that fills while the collection is written is a full disk, and the collection stays.
TEST(ExportIfs, ADiskFillingDuringTheWriteSaysDiskFull) {
  testing::ScratchMount disk(256);
  if (!disk.mounted()) GTEST_SKIP() << "cannot mount a scratch filesystem here";
  const QString path = disk.filePath(QStringLiteral("big.ifs"));
  QByteArray big;
  for (int i = 0; i < 2000; ++i) big += "e" + QByteArray::number(i) + " { 0.5 0 0 0.5 0 0 1 }\n";
  ASSERT_TRUE(writeAll(path, big));
  ASSERT_TRUE(disk.fill());
  QFile filler(disk.filePath(QStringLiteral("filler")));
  ASSERT_TRUE(filler.resize(filler.size() - 8192));  // room for a part of the new file

  PanelFixture f;
  choosePattern(f.document, kFernPattern);
  f.dialogs.saveIfsAnswers = {path};
  f.dialogs.collectionAnswers = {CollectionChoice::AddToCollection};
  exportIfs(f.document);
  EXPECT_EQ(f.dialogs.messages, QStringList{kIfsSaveMessages.diskFull});
  EXPECT_EQ(readAll(path), big);
  EXPECT_EQ(disk.entries(), QStringList({"big.ifs", "filler"}));
}

TEST(FitMapsToSquare, ChangesOnlyEAndFAndRefusesMapsThatDoNotContract) {
  PanelFixture f;
  f.setRow(1, {"0.5", "0", "0", "0.5", "3", "-7", "0.5"});
  f.setRow(2, {"0.5", "0", "0", "0.5", "3.5", "-7", "0.5"});
  fitMapsToSquare(f.document);
  EXPECT_TRUE(f.dialogs.messages.isEmpty());
  EXPECT_EQ(f.state.cell(1, kColA), "0.5");
  const Box box = *attractorBox(gridMaps(f));
  EXPECT_NEAR(box.xmin, 0.02, 1e-9);
  EXPECT_NEAR(box.xmax, 0.98, 1e-9);
  EXPECT_NEAR(box.ymin, 0.5, 1e-9);  // a segment: centred in the square

  PanelFixture expanding;
  expanding.setRow(1, {"1.5", "0", "0", "0.5", "0", "0", "1"});
  const auto grid = expanding.state.grid;
  fitMapsToSquare(expanding.document);
  EXPECT_EQ(expanding.dialogs.messages, QStringList{kNoAttractorMessage});
  EXPECT_EQ(expanding.state.grid, grid);
}

}  // namespace
}  // namespace quill
