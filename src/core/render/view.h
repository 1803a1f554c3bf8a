#pragma once

#include "core/maps/drawing_state.h"

namespace quill {

// A point in figure coordinates: twips from the lower-left corner of the drawing square, y up.
struct FigurePoint {
  double x = 0;
  double y = 0;
};

// Where figure coordinates land on the canvas: (originX + x, originY − y), each sum in double
// precision, then rounded to single precision as the canvas takes it.
struct View {
  double originX = 0;
  double originY = 0;

  static View of(const DrawingSquare& square) { return {square.originX, square.originY}; }

  float canvasX(double x) const { return float(originX + x); }
  float canvasY(double y) const { return float(originY - y); }
};

}  // namespace quill
