#include <gtest/gtest.h>

#include "core/canvas/canvas.h"
#include "support/fakes.h"

namespace quill {
namespace {

using testing::PanelFixture;

constexpr Rgb kGreen = rgb(0, 160, 0);
constexpr Rgb kNavy = rgb(0, 0, 128);

void drawDot(PanelFixture& f) {
  f.canvasWindow.canvas().pset(150.0f, 150.0f, kBlack);
}  // pixel (10, 10)

TEST(PrintPicture, PrintsThePictureOnWhiteAndKeepsPaperColor) {
  PanelFixture f;
  f.drawing.paperColor = kNavy;
  f.canvasWindow.canvas().setBackColor(kNavy);
  drawDot(f);
  printPicture(f.document);
  ASSERT_EQ(f.printer.calls, 1);
  EXPECT_TRUE(f.dialogs.messages.isEmpty());
  const QImage page = f.printer.lastPage;
  EXPECT_EQ(page.size(), QSize(640, 480));
  EXPECT_EQ(page.pixel(10, 10) & 0xFFFFFFu, kBlack);
  EXPECT_EQ(page.pixel(11, 10) & 0xFFFFFFu, kWhite);
  EXPECT_EQ(f.canvasWindow.canvas().backColor(), kWhite);
  EXPECT_EQ(f.drawing.paperColor, kNavy);
}

TEST(PrintPicture, ShowsThePrintersFailureOnceAndKeepsThePicture) {
  PanelFixture f;
  drawDot(f);
  f.printer.failWith = kPrintIoErrorMessage;
  printPicture(f.document);
  EXPECT_EQ(f.dialogs.messages, QStringList{"Cannot print: device I/O error."});
  EXPECT_EQ(f.canvasWindow.canvas().picture().pixel(10, 10) & 0xFFFFFFu, kBlack);
  EXPECT_EQ(f.canvasWindow.canvas().backColor(), kWhite);
}

TEST(PrintPicture, FitsThePageWithItsAspectKeptAndCentred) {
  // A wide picture on a tall page: full width, centred vertically.
  EXPECT_EQ(fitOnPage(QSizeF(200, 100), QRectF(10, 20, 400, 1000)), QRectF(10, 420, 400, 200));
  // A tall picture on a wide page: full height, centred horizontally.
  EXPECT_EQ(fitOnPage(QSizeF(100, 200), QRectF(0, 0, 1000, 400)), QRectF(400, 0, 200, 400));
  EXPECT_TRUE(fitOnPage(QSizeF(0, 0), QRectF(0, 0, 10, 10)).isEmpty());
}

TEST(ChooseColor, CancelKeepsBothColours) {
  PanelFixture f;
  f.dialogs.colorAnswers = {std::nullopt, std::nullopt};
  choosePenColour(f.document);
  choosePaperColour(f.document);
  EXPECT_EQ(f.drawing.penColor, kBlack);
  EXPECT_EQ(f.drawing.paperColor, kWhite);
  EXPECT_EQ(f.canvasWindow.canvas().backColor(), kWhite);
}

TEST(ChooseColor, EachCommandSetsOnlyItsOwnColourAndTheDialogStartsFromTheLastOne) {
  PanelFixture f;
  drawDot(f);
  f.dialogs.colorAnswers = {kGreen, kNavy, std::nullopt};
  choosePenColour(f.document);
  EXPECT_EQ(f.drawing.penColor, kGreen);
  EXPECT_EQ(f.drawing.paperColor, kWhite);

  choosePaperColour(f.document);
  EXPECT_EQ(f.drawing.paperColor, kNavy);
  EXPECT_EQ(f.drawing.penColor, kGreen);
  // The background changes at once and what was drawn stays.
  EXPECT_EQ(f.canvasWindow.canvas().backColor(), kNavy);
  EXPECT_EQ(f.canvasWindow.canvas().picture().pixel(10, 10) & 0xFFFFFFu, kBlack);
  EXPECT_GT(f.canvasWindow.changed, 0);

  choosePenColour(f.document);  // cancelled
  EXPECT_EQ(f.drawing.penColor, kGreen);
  EXPECT_EQ(f.dialogs.colorInitials, (std::vector<Rgb>{kBlack, kGreen, kNavy}));
}

}  // namespace
}  // namespace quill
