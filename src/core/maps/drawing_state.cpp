#include "core/maps/drawing_state.h"

namespace quill {

DrawingSquare DrawingSquare::onCanvas(float canvasWidth, float canvasHeight) {
  // The canvas size is single precision; the products are kept in double precision.
  DrawingSquare square;
  square.originX = double(canvasWidth) * 0.1;
  square.marginY = double(canvasHeight) * 0.1;
  if (canvasWidth >= canvasHeight) {
    square.viewScale = double(canvasHeight) - 2 * square.marginY;
  } else {
    square.viewScale = double(canvasWidth) - 2 * square.originX;
  }
  square.originY = square.marginY + square.viewScale;
  return square;
}

}  // namespace quill
