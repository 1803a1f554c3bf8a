#include <gtest/gtest.h>

#include "core/canvas/canvas.h"
#include "support/fakes.h"

namespace quill {
namespace {

using testing::PanelFixture;

constexpr Rgb kGreen = rgb(0, 160, 0);
constexpr Rgb kNavy = rgb(0, 0, 128);

void drawDot(PanelFixture& f) { f.form1.canvas().pset(150.0f, 150.0f, kBlack); }  // pixel (10, 10)

TEST(PrintPicture, PrintsThePictureOnWhiteAndKeepsPaperColor) {
  PanelFixture f;
  f.module1.paperColor = kNavy;
  f.form1.canvas().setBackColor(kNavy);
  drawDot(f);
  cmdPrint_Click(f.document);
  ASSERT_EQ(f.printer.calls, 1);
  EXPECT_TRUE(f.dialogs.messages.isEmpty());
  const QImage page = f.printer.lastPage;
  EXPECT_EQ(page.size(), QSize(640, 480));
  EXPECT_EQ(page.pixel(10, 10) & 0xFFFFFFu, kBlack);
  EXPECT_EQ(page.pixel(11, 10) & 0xFFFFFFu, kWhite);
  EXPECT_EQ(f.form1.canvas().backColor(), kWhite);
  EXPECT_EQ(f.module1.paperColor, kNavy);
}

TEST(PrintPicture, ShowsThePrintersFailureOnceAndKeepsThePicture) {
  PanelFixture f;
  drawDot(f);
  f.printer.failWith = kPrintIoErrorMessage;
  cmdPrint_Click(f.document);
  EXPECT_EQ(f.dialogs.messages, QStringList{"Cannot print: device I/O error."});
  EXPECT_EQ(f.form1.canvas().picture().pixel(10, 10) & 0xFFFFFFu, kBlack);
  EXPECT_EQ(f.form1.canvas().backColor(), kWhite);
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
  mnuForeColor_Click(f.document);
  mnuBackColor_Click(f.document);
  EXPECT_EQ(f.module1.penColor, kBlack);
  EXPECT_EQ(f.module1.paperColor, kWhite);
  EXPECT_EQ(f.form1.canvas().backColor(), kWhite);
}

TEST(ChooseColor, EachCommandSetsOnlyItsOwnColourAndTheDialogStartsFromTheLastOne) {
  PanelFixture f;
  drawDot(f);
  f.dialogs.colorAnswers = {kGreen, kNavy, std::nullopt};
  mnuForeColor_Click(f.document);
  EXPECT_EQ(f.module1.penColor, kGreen);
  EXPECT_EQ(f.module1.paperColor, kWhite);

  mnuBackColor_Click(f.document);
  EXPECT_EQ(f.module1.paperColor, kNavy);
  EXPECT_EQ(f.module1.penColor, kGreen);
  // The background changes at once and what was drawn stays.
  EXPECT_EQ(f.form1.canvas().backColor(), kNavy);
  EXPECT_EQ(f.form1.canvas().picture().pixel(10, 10) & 0xFFFFFFu, kBlack);
  EXPECT_GT(f.form1.changed, 0);

  mnuForeColor_Click(f.document);  // cancelled
  EXPECT_EQ(f.module1.penColor, kGreen);
  EXPECT_EQ(f.dialogs.colorInitials, (std::vector<Rgb>{kBlack, kGreen, kNavy}));
}

}  // namespace
}  // namespace quill
