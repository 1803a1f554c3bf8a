#include "app/form1.h"

#include <gtest/gtest.h>

#include "core/maps/module1.h"
#include "support/fakes.h"

namespace quill {
namespace {

bool hasInk(const Canvas& canvas, int x, int y, Rgb color) {
  return (canvas.picture().pixel(x, y) & 0xFFFFFFu) == color;
}

TEST(Form1, KeepsThePictureWhileHiddenAndLosesItWhenClosed) {
  Module1 module1;
  testing::ScriptedDialogs dialogs;
  Form1 form1(dialogs);
  form1.Form_Load(module1);
  const double twips = form1.canvas().twipsPerPixel();
  form1.canvas().pset(float(10 * twips), float(10 * twips), kBlack);

  // Drawn before the window was ever shown: there after Show.
  form1.showCanvas();
  EXPECT_TRUE(form1.isVisible());
  EXPECT_TRUE(hasInk(form1.canvas(), 10, 10, kBlack));
  const QImage shown = form1.grab().toImage();
  EXPECT_EQ(shown.pixel(10, 10) & 0xFFFFFFu, kBlack);

  // Closing unloads the picture; the next drawing starts on a fresh canvas on paperColor.
  module1.paperColor = rgb(0, 128, 0);
  form1.close();
  Canvas& fresh = form1.canvas();
  EXPECT_FALSE(hasInk(fresh, 10, 10, kBlack));
  EXPECT_EQ(fresh.backColor(), rgb(0, 128, 0));
}

}  // namespace
}  // namespace quill
