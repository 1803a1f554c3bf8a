#include "core/maps/module1.h"

namespace quill {

void Module1::deriveDrawingSquare(float canvasWidth, float canvasHeight) {
  // The canvas size is single precision; the products are kept in double precision.
  originX = double(canvasWidth) * 0.1;
  marginY = double(canvasHeight) * 0.1;
  if (canvasWidth >= canvasHeight) {
    viewScale = double(canvasHeight) - 2 * marginY;
  } else {
    viewScale = double(canvasWidth) - 2 * originX;
  }
  originY = marginY + viewScale;
}

}  // namespace quill
