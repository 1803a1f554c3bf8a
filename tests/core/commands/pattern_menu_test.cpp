#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cctype>
#include <cmath>
#include <string>

#include "core/base/chaos_random.h"
#include "core/maps/pattern_catalogue.h"
#include "support/fakes.h"

namespace quill {
namespace {

using testing::PanelFixture;

const QString kNotFound =
    QStringLiteral("File not found.\nPlease make sure the file name you specify exists.");
const QString kInvalidFormat = QStringLiteral("Cannot load the file: invalid file format.");
const QString kPresetDir = QStringLiteral(QUILLMERE_PRESET_DIR);

// Rows filled in the grid: the rows up to the last one with any text.
int filledRows(const PanelState& state) {
  int last = 0;
  for (int i = 1; i <= kGridRows; ++i) {
    for (int column = 0; column < kColumnCount; ++column) {
      if (!state.cell(i, column).isEmpty()) last = i;
    }
  }
  return last;
}

// A preset folder of our own, holding copies of the shipped files, to change and remove.
struct PresetCopies {
  PresetCopies() {
    for (int k = 0; k < kUserPattern; ++k) {
      QFile::copy(QDir(kPresetDir).filePath(kPatterns[k].fileName), path(k));
    }
  }
  QString path(int pattern) const { return dir.filePath(kPatterns[pattern].fileName); }
  QTemporaryDir dir;
};

// Names a row after its pattern's menu caption.
std::string patternName(const ::testing::TestParamInfo<int>& info) {
  std::string name = kPatterns[std::size_t(info.param)].menuCaption.toStdString();
  for (char& ch : name) ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
  return name;
}

class EachPattern : public ::testing::TestWithParam<int> {};

TEST_P(EachPattern, FillsItsRowsAndThrowsAwayEdits) {
  const int k = GetParam();
  PanelFixture f;
  f.setRow(10, {"x", "x", "x", "x", "x", "x", "x"});  // edits the choice must throw away
  f.state.caption = QStringLiteral("before");
  choosePattern(f.document, k);
  EXPECT_EQ(f.state.selectedPattern, k);
  EXPECT_EQ(filledRows(f.state), kPatterns[k].mapCount);
  EXPECT_EQ(f.state.caption, k == kUserPattern ? "before" : kPatterns[k].panelCaption);
  EXPECT_TRUE(f.dialogs.messages.isEmpty());
  if (k == kUserPattern) return;
  EXPECT_TRUE(f.state.patternLoaded[k]);
  const Result<MapTable> read = readGrid(f.state);
  ASSERT_TRUE(read) << "every preset field is a number";
  EXPECT_EQ(read->mapCount, kPatterns[k].mapCount);
}

INSTANTIATE_TEST_SUITE_P(PatternMenu, EachPattern, ::testing::Range(0, int(kPatternCount)),
                         patternName);

TEST(PatternMenu, CantorMazeIsCaptionedCantorAndTheTableIsLeftAlone) {
  PanelFixture f;
  choosePattern(f.document, kSquareKochPattern);
  ASSERT_TRUE(f.readTable());
  choosePattern(f.document, kCantorMazePattern);
  EXPECT_EQ(f.state.caption, "Cantor");
  EXPECT_EQ(f.drawing.maps.mapCount, kPatterns[kSquareKochPattern].mapCount)
      << "choosing a pattern leaves the table last read alone";
}

TEST(PatternMenu, ResetRestoresWhatWasFirstRead) {
  PresetCopies copies;
  PanelFixture f;
  f.document.presetDirectory = copies.dir.path();
  choosePattern(f.document, kFernPattern);
  const auto fern = f.state.grid;

  // Edit the grid, then change the file and remove it: the cache answers both menus.
  f.state.cell(1, kColA) = "0.9";
  QFile file(copies.path(kFernPattern));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("1,1,1,1,1,1,1\r\n1,1,1,1,1,1,1\r\n1,1,1,1,1,1,1\r\n1,1,1,1,1,1,1\r\n");
  file.close();
  resetPattern(f.document, kFernPattern);
  EXPECT_TRUE(f.state.grid == fern);
  ASSERT_TRUE(QFile::remove(copies.path(kFernPattern)));
  f.state.cell(2, kColP) = "";
  choosePattern(f.document, kFernPattern);
  EXPECT_TRUE(f.state.grid == fern);
  EXPECT_TRUE(f.dialogs.messages.isEmpty());
}

TEST(PatternMenu, MissingOrBrokenPresets) {
  PresetCopies copies;
  PanelFixture f;
  f.document.presetDirectory = copies.dir.path();
  ASSERT_TRUE(QFile::remove(copies.path(kDragonPattern)));
  QFile shortFile(copies.path(kCrystal4Pattern));
  ASSERT_TRUE(shortFile.open(QIODevice::WriteOnly));
  shortFile.write("0.5,0,0,0.5,0,0,0.25\r\n0.5,0,0,0.5,0.5,0,0.25\r\n");  // 2 of 4 rows
  shortFile.close();

  choosePattern(f.document, kSierpinskiPattern);
  for (int attempt = 0; attempt < 2; ++attempt) {
    f.dialogs.messages.clear();
    choosePattern(f.document, kDragonPattern);
    EXPECT_EQ(f.dialogs.messages, QStringList{kNotFound}) << "shown on every choice";
    EXPECT_EQ(f.state.caption, "Dragon");
    EXPECT_EQ(filledRows(f.state), 0);
    EXPECT_FALSE(f.state.patternLoaded[kDragonPattern]);
  }

  f.dialogs.messages.clear();
  choosePattern(f.document, kCrystal4Pattern);
  EXPECT_EQ(f.dialogs.messages, QStringList{kInvalidFormat});
  EXPECT_EQ(filledRows(f.state), 0);
  EXPECT_FALSE(f.state.patternLoaded[kCrystal4Pattern]);

  // Mended files are read on the next choice, from their start.
  ASSERT_TRUE(QFile::copy(QDir(kPresetDir).filePath("Dragon.dat"), copies.path(kDragonPattern)));
  ASSERT_TRUE(QFile::remove(copies.path(kCrystal4Pattern)));
  ASSERT_TRUE(
      QFile::copy(QDir(kPresetDir).filePath("Crystal4.dat"), copies.path(kCrystal4Pattern)));
  f.dialogs.messages.clear();
  choosePattern(f.document, kDragonPattern);
  choosePattern(f.document, kCrystal4Pattern);
  EXPECT_TRUE(f.dialogs.messages.isEmpty());
  EXPECT_EQ(filledRows(f.state), 4);
  EXPECT_TRUE(f.state.patternLoaded[kDragonPattern] && f.state.patternLoaded[kCrystal4Pattern]);

  // A saved file offered as a preset reads one place on (its count becomes a), without error.
  PanelFixture g;
  g.document.presetDirectory = copies.dir.path();
  QFile saved(copies.path(kSierpinskiPattern));
  ASSERT_TRUE(saved.open(QIODevice::WriteOnly));
  saved.write(
      "3\r\n0.5,0,0,0.5,0,0,0.33\r\n0.5,0,0,0.5,0.5,0,0.33\r\n0.5,0,0,0.5,0.25,0.5,0.34\r\n");
  saved.close();
  choosePattern(g.document, kSierpinskiPattern);
  EXPECT_TRUE(g.dialogs.messages.isEmpty());
  EXPECT_EQ(g.state.cell(1, kColA), "3");
  EXPECT_EQ(g.state.cell(2, kColA), "0.33");
  EXPECT_EQ(g.state.cell(3, kColP), "0.5");
}

// The chaos game as the program plays it: from map 1's image of the origin, a map per step
// chosen by the running sums of p, every point kept.
class PresetMaps : public ::testing::TestWithParam<int> {};

TEST_P(PresetMaps, ChaosGameStaysInTheUnitSquare) {
  const int k = GetParam();
  PanelFixture f;
  choosePattern(f.document, k);
  const Result<MapTable> read = readGrid(f.state);
  ASSERT_TRUE(read);
  const MapTable& m = *read;

  double sum = 0;
  for (int i = 1; i <= m.mapCount; ++i) {
    EXPECT_GT(m.mapP[i], 0) << "map " << i << " is never drawn";
    sum += m.mapP[i];
  }
  EXPECT_NEAR(sum, 1.0, 1e-12);
  for (int i = 1; i <= m.mapCount; ++i) {
    // Roughly proportional to the area factor: within a factor of three, thin maps excepted.
    const double det = std::fabs(m.mapA[i] * m.mapD[i] - m.mapB[i] * m.mapC[i]);
    double total = 0;
    for (int j = 1; j <= m.mapCount; ++j) {
      total += std::max(std::fabs(m.mapA[j] * m.mapD[j] - m.mapB[j] * m.mapC[j]), 0.01);
    }
    if (det > 0.02) {
      EXPECT_NEAR(m.mapP[i] / (det / total), 1.0, 0.1) << "map " << i;
    }
  }

  ChaosRandom random;
  double x = m.mapE[1];
  double y = m.mapF[1];
  int outside = 0;
  for (int step = 0; step < 100000; ++step) {
    const double r = random.next();
    int j = 1;
    while (j < m.mapCount && r > m.mapCumP[j]) ++j;
    const double nx = m.mapA[j] * x + m.mapB[j] * y + m.mapE[j];
    y = m.mapC[j] * x + m.mapD[j] * y + m.mapF[j];
    x = nx;
    if (!(x >= 0 && x <= 1 && y >= 0 && y <= 1)) ++outside;
  }
  EXPECT_EQ(outside, 0);
}

INSTANTIATE_TEST_SUITE_P(Presets, PresetMaps, ::testing::Range(0, int(kUserPattern)), patternName);

}  // namespace
}  // namespace quill
