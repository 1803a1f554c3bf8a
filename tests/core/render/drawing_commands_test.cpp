#include "core/render/drawing_commands.h"

#include <gtest/gtest.h>

#include <QImage>

#include "core/canvas/canvas.h"
#include "core/render/drawing_checks.h"
#include "render_fixtures.h"
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
    module1.penColor = kPen;
  }
};

// What a drawing looks like drawn by the reference onto a fresh canvas of the fixture's size.
QImage expectedPicture(const Module1& shared, Drawing drawing, int count) {
  Module1 state = shared;
  state.iterationCount = count;
  Canvas canvas(kCanvasWidth, kCanvasHeight, 15.0, state.paperColor);
  ChaosRandom random;
  drawReference(canvas, drawing, state, random, RenderControl{});
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
  panel.module1.iterationCount = 7;
  panel.state.Text1 = c.text;
  cmdFractal_Click(panel.document);
  EXPECT_EQ(panel.module1.iterationCount, c.depth);
  if (c.message.isEmpty()) {
    EXPECT_TRUE(panel.dialogs.messages.isEmpty()) << panel.dialogs.messages.join('|').toStdString();
    EXPECT_EQ(panel.form1.shown, 1);
    EXPECT_EQ(panel.form1.caption, QStringLiteral("Sierpinski"));
    EXPECT_EQ(panel.form1.canvas().picture(),
              expectedPicture(panel.module1, Drawing::TriangleFractal, c.depth));
  } else {
    EXPECT_EQ(panel.dialogs.messages, QStringList{c.message});
    EXPECT_EQ(panel.form1.shown, 0);
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

TEST(DrawingCommands, TheChaosCountHasNoUpperLimitButMustFit32Bits) {
  struct Case {
    const char* name;
    QString text;
    QString message;
  };
  const Case cases[] = {
      {"zero", "0", ""},
      {"the smallest 32-bit count", "-2147483648", ""},
      {"below 32 bits", "-2147483649", kImproperCountMessage},
      {"above 32 bits", "2147483648", kImproperCountMessage},
      {"empty", "", kEmptyCountMessage},
      {"not a number", "1,5", kImproperCountMessage},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SierpinskiPanel panel;
    panel.state.Text1 = c.text;
    cmdChaos_Click(panel.document);
    if (c.message.isEmpty()) {
      EXPECT_TRUE(panel.dialogs.messages.isEmpty());
      EXPECT_EQ(panel.form1.shown, 1);
      // Only the frame.
      EXPECT_EQ(panel.form1.canvas().picture(),
                expectedPicture(panel.module1, Drawing::ChaosGame, 0));
    } else {
      EXPECT_EQ(panel.dialogs.messages, QStringList{c.message});
      EXPECT_EQ(panel.form1.shown, 0);
    }
  }
}

TEST(DrawingCommands, TheFractalDrawsTrianglesUntilAnotherPatternIsChosen) {
  struct Case {
    const char* name;
    std::optional<int> pattern;
    Drawing drawing;
  };
  const Case cases[] = {{"no pattern chosen yet", std::nullopt, Drawing::TriangleFractal},
                        {"the first pattern", kSierpinskiPattern, Drawing::TriangleFractal},
                        {"another pattern", kFernPattern, Drawing::SquareFractal},
                        {"User", kUserPattern, Drawing::SquareFractal}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PanelFixture f;
    f.state.Text1 = QStringLiteral("3");
    f.state.selectedPattern = c.pattern;
    const Result<Drawing> drawing = checkFractal(f.document);
    ASSERT_TRUE(drawing);
    EXPECT_EQ(*drawing, c.drawing);
  }
}

// A refused panel comes back from the checks as a value; the command shows it once and draws
// nothing.
TEST(DrawingCommands, ARefusedPanelIsShownOnceByTheCommandAndNothingIsDrawn) {
  SierpinskiPanel checked;
  checked.state.cell(2, kColP).clear();
  checked.state.Text1 = QStringLiteral("3");
  for (const Result<Drawing>& drawing :
       {checkBluePrint(checked.document), checkFractal(checked.document),
        checkChaos(checked.document)}) {
    EXPECT_EQ(drawing.message(), kEmptyFieldMessage);
  }
  EXPECT_TRUE(checked.dialogs.messages.isEmpty());

  for (void (*click)(Document&) : {&cmdBluePrint_Click, &cmdFractal_Click, &cmdChaos_Click}) {
    SierpinskiPanel panel;
    panel.state.cell(2, kColP).clear();
    panel.state.Text1 = QStringLiteral("3");
    click(panel.document);
    EXPECT_EQ(panel.dialogs.messages, QStringList{kEmptyFieldMessage});
    EXPECT_EQ(panel.form1.shown, 0);
    EXPECT_FALSE(panel.module1.labelImages);
  }
}

// Typed text reaches the drawings: each command draws what the reference draws from the numbers.
TEST(DrawingCommands, ThreeTypedHalfMapsDrawTheSierpinskiGasket) {
  SierpinskiPanel panel;
  panel.state.Text1 = QStringLiteral("5");
  cmdFractal_Click(panel.document);
  EXPECT_EQ(panel.form1.canvas().picture(),
            expectedPicture(panel.module1, Drawing::TriangleFractal, 5));

  SierpinskiPanel chaos;
  chaos.state.Text1 = QStringLiteral("50000");
  cmdChaos_Click(chaos.document);
  EXPECT_EQ(chaos.form1.canvas().picture(),
            expectedPicture(chaos.module1, Drawing::ChaosGame, 50000));
  EXPECT_EQ(chaos.form1.caption, QStringLiteral("Sierpinski"));
  EXPECT_EQ(chaos.form1.shown, 1);
}

TEST(DrawingCommands, TheBluePrintNumbersItsImagesInTheCanvasFont) {
  SierpinskiPanel panel;
  panel.state.Text1.clear();  // the blue print does not read the count
  cmdBluePrint_Click(panel.document);
  EXPECT_TRUE(panel.dialogs.messages.isEmpty());
  EXPECT_EQ(panel.form1.shown, 1);
  EXPECT_FALSE(panel.module1.labelImages);
  EXPECT_EQ(panel.module1.iterationCount, 1);
  EXPECT_EQ(panel.form1.canvas().picture(), expectedPicture(panel.module1, Drawing::BluePrint, 1));
}

}  // namespace
}  // namespace quill::testing
