#include "app/canvas_widget.h"

#include <gtest/gtest.h>

#include "core/maps/drawing_state.h"
#include "support/fakes.h"

namespace quill {
namespace {

bool hasInk(const Canvas& canvas, int x, int y, Rgb color) {
  return (canvas.picture().pixel(x, y) & 0xFFFFFFu) == color;
}

TEST(CanvasWidget, KeepsThePictureWhileHiddenAndLosesItWhenClosed) {
  DrawingState drawing;
  testing::ScriptedDialogs dialogs;
  CanvasWidget canvasWindow(dialogs);
  canvasWindow.resetCanvas(drawing);
  const double twips = canvasWindow.canvas().twipsPerPixel();
  canvasWindow.canvas().pset(float(10 * twips), float(10 * twips), kBlack);

  // Drawn before the window was ever shown: there after Show.
  canvasWindow.showCanvas();
  EXPECT_TRUE(canvasWindow.isVisible());
  EXPECT_TRUE(hasInk(canvasWindow.canvas(), 10, 10, kBlack));
  const QImage shown = canvasWindow.grab().toImage();
  EXPECT_EQ(shown.pixel(10, 10) & 0xFFFFFFu, kBlack);

  // Closing unloads the picture; the next drawing starts on a fresh canvas on paperColor.
  drawing.paperColor = rgb(0, 128, 0);
  canvasWindow.close();
  Canvas& fresh = canvasWindow.canvas();
  EXPECT_FALSE(hasInk(fresh, 10, 10, kBlack));
  EXPECT_EQ(fresh.backColor(), rgb(0, 128, 0));
}

}  // namespace
}  // namespace quill
