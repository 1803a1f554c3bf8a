#include "core/commands/open_picture.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

#include "core/canvas/canvas.h"
#include "core/commands/drawing_checks.h"
#include "core/picture/image_file.h"
#include "support/fakes.h"

namespace quill {
namespace {

struct CanvasRow {
  const char* name;
  int pattern;
  PictureMode mode;
  const char* count;
  std::uint64_t generatorSteps;  // numbers the generator gave before the drawing
};

class CanvasPictures : public ::testing::TestWithParam<CanvasRow> {};

// A picture saved from the canvas, opened in another document and rendered from its record, has
// the canvas's pixels: the chaos game goes on from where the canvas's generator stood.
TEST_P(CanvasPictures, RenderAgainFromWhatTheyCarry) {
  const CanvasRow& row = GetParam();
  testing::PanelFixture drawn(320, 240);
  drawn.drawing.penColor = 0x203080;
  choosePattern(drawn.document, row.pattern);
  drawn.state.countText = QString::fromLatin1(row.count);
  drawn.document.random.advance(row.generatorSteps);
  ASSERT_TRUE(drawOnCanvas(drawn.document, row.mode));
  const Canvas& canvas = drawn.canvasWindow.canvas();
  ASSERT_FALSE(canvas.drawnFrom().isEmpty());
  QTemporaryDir dir;
  const QString saved = dir.filePath(QStringLiteral("canvas.png"));
  ASSERT_TRUE(writePicture(canvas.picture(), saved, canvas.drawnFrom()));

  testing::PanelFixture opened(320, 240);
  const Result<PictureRecord> record = openPictureFrom(opened.document, saved);
  ASSERT_TRUE(record) << record.message().toStdString();
  EXPECT_FALSE(record->drawnOver);
  EXPECT_EQ(opened.state.grid, drawn.state.grid);
  EXPECT_EQ(opened.state.caption, drawn.state.caption);
  EXPECT_EQ(opened.state.selectedPattern, drawn.state.selectedPattern);
  EXPECT_EQ(opened.drawing.penColor, 0x203080u);
  const Result<PictureInputs> inputs =
      checkPictureInputs(opened.document, record->mode, opened.state.countText);
  ASSERT_TRUE(inputs) << inputs.message().toStdString();
  const QString again = dir.filePath(QStringLiteral("again.png"));
  ASSERT_TRUE(renderPicture(*inputs, requestOf(*record, PictureFormat::Png8), {}, again));
  EXPECT_EQ(QImage(again).convertToFormat(QImage::Format_RGB32),
            QImage(saved).convertToFormat(QImage::Format_RGB32));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CanvasPictures,
    ::testing::Values(CanvasRow{"BluePrint", kTwigPattern, PictureMode::BluePrint, "", 0},
                      CanvasRow{"TriangleFractal", kSierpinskiPattern, PictureMode::Fractal, "5",
                                0},
                      CanvasRow{"SquareFractal", kKochPattern, PictureMode::Fractal, "4", 0},
                      CanvasRow{"FirstChaosGame", kFernPattern, PictureMode::ChaosGame, "20000", 0},
                      CanvasRow{"ChaosGameAfterOthers", kDragonPattern, PictureMode::ChaosGame,
                                "20000", 987654321}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(CanvasPictures, SayWhenDrawnOverEarlierDrawings) {
  testing::PanelFixture f(200, 150);
  choosePattern(f.document, kFernPattern);
  f.state.countText = QStringLiteral("1000");
  ASSERT_TRUE(drawOnCanvas(f.document, PictureMode::ChaosGame));
  EXPECT_FALSE(readRecordText(f.canvasWindow.canvas().drawnFrom())->drawnOver);
  ASSERT_TRUE(drawOnCanvas(f.document, PictureMode::BluePrint));
  const Result<PictureRecord> record = readRecordText(f.canvasWindow.canvas().drawnFrom());
  ASSERT_TRUE(record);
  EXPECT_EQ(record->mode, PictureMode::BluePrint);
  EXPECT_TRUE(record->drawnOver);
  // A new paper colour recolours the picture, and its record says so.
  setPaperColour(f.document, 0x102030);
  EXPECT_EQ(readRecordText(f.canvasWindow.canvas().drawnFrom())->paper, 0x102030u);
}

TEST(OpenPicture, AFailureChangesNothing) {
  testing::PanelFixture f;
  choosePattern(f.document, kFernPattern);
  const PanelState before = f.state;
  const Result<PictureRecord> record =
      openPictureFrom(f.document, QStringLiteral(QUILLMERE_PRESET_DIR "/Fern.dat"));
  ASSERT_FALSE(record);
  EXPECT_EQ(record.message(), kNoRecordMessage);
  EXPECT_EQ(f.state.grid, before.grid);
  EXPECT_EQ(f.state.caption, before.caption);
}

}  // namespace
}  // namespace quill
