#include "core/commands/drawing_commands.h"

#include <gtest/gtest.h>

#include <QImage>

#include "core/canvas/canvas.h"
#include "core/commands/drawing_checks.h"
#include "core/render/render_fixtures.h"
#include "support/fakes.h"
#include "support/row_name.h"

namespace quill::testing {
namespace {

const std::array<QString, kColumnCount> kHalfMapTexts[3] = {
    {"0.5", "0", "0", "0.5", "0", "0", "0.33"},
    {"0.5", "0", "0", "0.5", "0.5", "0", "0.33"},
    {"0.5", "0", "0", "0.5", "0.25", "0.5", "0.34"}};

struct SierpinskiPanel : PanelFixture {
  SierpinskiPanel() {
    for (int row = 0; row < 3; ++row) setRow(row + 1, kHalfMapTexts[row]);
    state.caption = QStringLiteral("Sierpinski");
    drawing.penColor = kPen;
  }
};

// What a drawing looks like drawn by the reference onto a fresh canvas of the fixture's size.
QImage expectedPicture(const DrawingState& shared, DrawingKind kind, int count) {
  DrawingState state = shared;
  state.iterationCount = count;
  Canvas canvas(kCanvasWidth, kCanvasHeight, 15.0, state.paperColor);
  ChaosRandom random;
  drawReference(canvas, kind, state, random, RenderControl{});
  return canvas.picture();
}

// The count field as the fractal reads it; each row on its own.
struct DepthCase {
  const char* name;
  QString text;
  QString message;  // empty when accepted
  int depth;        // iterationCount afterwards, and the depth drawn when accepted
};
class FractalCount : public ::testing::TestWithParam<DepthCase> {};

TEST_P(FractalCount, IsCheckedBeforeTheFractalDrawsThatDepth) {
  const DepthCase& c = GetParam();
  SierpinskiPanel panel;
  panel.setRow(2, {});  // one map: depth 20 is a single triangle
  panel.drawing.iterationCount = 7;
  panel.state.countText = c.text;
  drawFractal(panel.document);
  EXPECT_EQ(panel.drawing.iterationCount, c.depth);
  if (c.message.isEmpty()) {
    EXPECT_TRUE(panel.dialogs.messages.isEmpty()) << panel.dialogs.messages.join('|').toStdString();
    EXPECT_EQ(panel.canvasWindow.shown, 1);
    EXPECT_EQ(panel.canvasWindow.caption, QStringLiteral("Sierpinski"));
    EXPECT_EQ(panel.canvasWindow.canvas().picture(),
              expectedPicture(panel.drawing, DrawingKind::TriangleFractal, c.depth));
  } else {
    EXPECT_EQ(panel.dialogs.messages, QStringList{c.message});
    EXPECT_EQ(panel.canvasWindow.shown, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(DrawingCommands, FractalCount,
                         ::testing::ValuesIn(std::vector<DepthCase>{
                             {"20 is the deepest accepted", "20", "", 20},
                             {"21 is refused but kept", "21", kTooDeepMessage, 21},
                             {"2.5 rounds to even 2", "2.5", "", 2},
                             {"3.5 rounds to even 4", "3.5", "", 4},
                             {"blanks around a number", " 3 ", "", 3},
                             {"0 draws the base figure", "0", "", 0},
                             {"negative", "-1", kImproperCountMessage, -1},
                             {"empty", "", kEmptyCountMessage, 7},
                             {"not a number", "abc", kImproperCountMessage, 7},
                             {"only blanks", " ", kImproperCountMessage, 7},
                             {"beyond 32 bits", "2147483648", kImproperCountMessage, 7},
                             {"far beyond 32 bits", "-1e12", kImproperCountMessage, 7},
                             {"beyond a double", "1e999", kImproperCountMessage, 7},
                         }),
                         RowName());

// The count field as the chaos game reads it; each row on its own.
struct ChaosCountCase {
  std::string name;
  QString text;
  QString message;  // empty when accepted
};
class ChaosCount : public ::testing::TestWithParam<ChaosCountCase> {};

TEST_P(ChaosCount, HasNoUpperLimitButMustFit32Bits) {
  const ChaosCountCase& c = GetParam();
  SierpinskiPanel panel;
  panel.state.countText = c.text;
  drawChaosGame(panel.document);
  if (c.message.isEmpty()) {
    EXPECT_TRUE(panel.dialogs.messages.isEmpty());
    EXPECT_EQ(panel.canvasWindow.shown, 1);
    // Only the frame.
    EXPECT_EQ(panel.canvasWindow.canvas().picture(),
              expectedPicture(panel.drawing, DrawingKind::ChaosGame, 0));
  } else {
    EXPECT_EQ(panel.dialogs.messages, QStringList{c.message});
    EXPECT_EQ(panel.canvasWindow.shown, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(DrawingCommands, ChaosCount,
                         ::testing::ValuesIn(std::vector<ChaosCountCase>{
                             {"zero", "0", ""},
                             {"the smallest 32-bit count", "-2147483648", ""},
                             {"below 32 bits", "-2147483649", kImproperCountMessage},
                             {"above 32 bits", "2147483648", kImproperCountMessage},
                             {"empty", "", kEmptyCountMessage},
                             {"not a number", "1,5", kImproperCountMessage},
                         }),
                         RowName());

// The fractal's figure follows the pattern chosen last.
struct FigureCase {
  std::string name;
  std::optional<int> pattern;
  DrawingKind kind;
};
class FractalFigure : public ::testing::TestWithParam<FigureCase> {};

TEST_P(FractalFigure, IsTheTriangleUntilAnotherPatternIsChosen) {
  const FigureCase& c = GetParam();
  PanelState panel;
  panel.selectedPattern = c.pattern;
  const Result<DrawingOrder> order = checkFractal(panel, QStringLiteral("3"));
  ASSERT_TRUE(order);
  EXPECT_EQ(order->kind, c.kind);
}

INSTANTIATE_TEST_SUITE_P(DrawingCommands, FractalFigure,
                         ::testing::ValuesIn(std::vector<FigureCase>{
                             {"no pattern chosen yet", std::nullopt, DrawingKind::TriangleFractal},
                             {"the first pattern", kSierpinskiPattern,
                              DrawingKind::TriangleFractal},
                             {"another pattern", kFernPattern, DrawingKind::SquareFractal},
                             {"User", kUserPattern, DrawingKind::SquareFractal},
                         }),
                         RowName());

// A refused panel comes back from the checks as a value; the command shows it once and draws
// nothing.
TEST(DrawingCommands, ARefusedPanelIsShownOnceByTheCommandAndNothingIsDrawn) {
  SierpinskiPanel checked;
  checked.state.cell(2, kColP).clear();
  const QString count = QStringLiteral("3");
  for (const Result<DrawingOrder>& order :
       {checkBluePrint(checked.state), checkFractal(checked.state, count),
        checkChaosGame(checked.state, count)}) {
    EXPECT_EQ(order.message(), kEmptyFieldMessage);
  }
  EXPECT_TRUE(checked.dialogs.messages.isEmpty());

  for (void (*click)(Document&) : {&drawBluePrint, &drawFractal, &drawChaosGame}) {
    SierpinskiPanel panel;
    panel.state.cell(2, kColP).clear();
    panel.state.countText = QStringLiteral("3");
    click(panel.document);
    EXPECT_EQ(panel.dialogs.messages, QStringList{kEmptyFieldMessage});
    EXPECT_EQ(panel.canvasWindow.shown, 0);
    EXPECT_FALSE(panel.drawing.labelImages);
  }
}

// Typed text reaches the drawings: each command draws what the reference draws from the numbers.
TEST(DrawingCommands, ThreeTypedHalfMapsDrawTheSierpinskiGasket) {
  SierpinskiPanel panel;
  panel.state.countText = QStringLiteral("5");
  drawFractal(panel.document);
  EXPECT_EQ(panel.canvasWindow.canvas().picture(),
            expectedPicture(panel.drawing, DrawingKind::TriangleFractal, 5));

  SierpinskiPanel chaos;
  chaos.state.countText = QStringLiteral("50000");
  drawChaosGame(chaos.document);
  EXPECT_EQ(chaos.canvasWindow.canvas().picture(),
            expectedPicture(chaos.drawing, DrawingKind::ChaosGame, 50000));
  EXPECT_EQ(chaos.canvasWindow.caption, QStringLiteral("Sierpinski"));
  EXPECT_EQ(chaos.canvasWindow.shown, 1);
}

TEST(DrawingCommands, TheBluePrintNumbersItsImagesInTheCanvasFont) {
  SierpinskiPanel panel;
  panel.state.countText.clear();  // the blue print does not read the count
  drawBluePrint(panel.document);
  EXPECT_TRUE(panel.dialogs.messages.isEmpty());
  EXPECT_EQ(panel.canvasWindow.shown, 1);
  EXPECT_FALSE(panel.drawing.labelImages);
  EXPECT_EQ(panel.drawing.iterationCount, 1);
  EXPECT_EQ(panel.canvasWindow.canvas().picture(),
            expectedPicture(panel.drawing, DrawingKind::BluePrint, 1));
}

// A picture is checked as the drawing command checks it, with the count given; the panel's field
// keeps its text and the document's count and table stay those of the last drawing.
TEST(PictureInputs, CheckTheCountAndLeaveTheDocumentAsItWas) {
  SierpinskiPanel f;
  f.setRow(3, {});
  f.state.countText = QStringLiteral("7");
  f.drawing.iterationCount = 7;
  const MapTable table = f.drawing.maps;
  const Result<PictureInputs> deep =
      checkPictureInputs(f.document, PictureMode::Fractal, QStringLiteral("21"));
  EXPECT_EQ(deep.message(), kTooDeepMessage);
  const Result<PictureInputs> chaos =
      checkPictureInputs(f.document, PictureMode::ChaosGame, QStringLiteral("5000"));
  ASSERT_TRUE(chaos.ok()) << chaos.message().toStdString();
  EXPECT_EQ(chaos->kind, DrawingKind::ChaosGame);
  EXPECT_EQ(chaos->drawing.iterationCount, 5000);
  EXPECT_EQ(chaos->drawing.maps.mapCount, 2);
  EXPECT_EQ(chaos->drawing.penColor, kPen);
  EXPECT_EQ(f.state.countText, QStringLiteral("7"));
  EXPECT_EQ(f.drawing.iterationCount, 7);
  EXPECT_EQ(f.drawing.maps.mapCount, table.mapCount);
  EXPECT_TRUE(f.dialogs.messages.isEmpty());
}

}  // namespace
}  // namespace quill::testing
