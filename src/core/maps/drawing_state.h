#pragma once

#include <cstdint>

#include "core/base/color.h"
#include "core/maps/map_table.h"

namespace quill {

// Where the unit square of the maps lies on the canvas, in twips (1/1440 inch), canvas y growing
// downwards. Derived once from the canvas's size at start-up.
struct DrawingSquare {
  double viewScale = 0;  // side of the drawing square
  double originX = 0;    // canvas x of the square's left side: 0.1 × canvas width
  double marginY = 0;    // canvas y of the square's top side: 0.1 × canvas height
  double originY = 0;    // canvas y of the square's bottom side: marginY + viewScale

  // The square for a canvas of this outer size in twips: 0.8 × the shorter side, its left side at
  // 0.1 × width and its top at 0.1 × height (the height's branch on a tie).
  static DrawingSquare onCanvas(float canvasWidth, float canvasHeight);
};

// What every drawing reads, shared by the commands for the whole run: the maps, where they are
// drawn, in which colours, how far, and the figure recursions' level counter.
struct DrawingState {
  MapTable maps;
  DrawingSquare square;

  Rgb paperColor = kWhite;   // canvas background
  Rgb penColor = kBlack;     // lines and points of the drawings
  bool labelImages = false;  // true only while "Blue Print" draws: figures carry their map number

  std::int32_t iterationCount = 0;  // depth of the fractal or steps of the chaos game
  std::int32_t recursionLevel = 0;  // level counter of the figure recursions
};

}  // namespace quill
