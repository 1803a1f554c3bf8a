#pragma once

#include <cstdint>

#include "core/base/color.h"
#include "core/maps/map_table.h"

namespace quill {

// Module1: the drawing state that every command shares, set up once at start-up and kept for
// the whole run. Lengths are in twips (1/1440 inch), canvas y growing downwards.
struct Module1 {
  MapTable maps;

  double viewScale = 0;  // side of the drawing square
  double originX = 0;    // canvas x of the square's left side: 0.1 × canvas width
  double marginY = 0;    // canvas y of the square's top side: 0.1 × canvas height
  double originY = 0;    // canvas y of the square's bottom side: marginY + viewScale

  Rgb paperColor = kWhite;   // canvas background
  Rgb penColor = kBlack;     // lines and points of the drawings
  bool labelImages = false;  // true only while "Blue Print" draws: figures carry their map number

  std::int32_t iterationCount = 0;  // depth of the fractal or steps of the chaos game
  std::int32_t recursionLevel = 0;  // level counter of the figure recursions

  // Derives the drawing square from the canvas's outer size in twips: a square of 0.8 × the
  // shorter side, its left side at 0.1 × width and its top at 0.1 × height (height on a tie).
  void deriveDrawingSquare(float canvasWidth, float canvasHeight);
};

}  // namespace quill
