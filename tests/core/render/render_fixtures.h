#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "core/base/color.h"
#include "core/maps/module1.h"
#include "core/render/view.h"
#include "recording_surface.h"

namespace quill::testing {

inline constexpr int kCanvasWidth = 640;  // pixels, 15 twips each
inline constexpr int kCanvasHeight = 480;
inline constexpr Rgb kPen = rgb(200, 0, 0);

// One row of the map table: x' = a·x + b·y + e, y' = c·x + d·y + f, probability p.
struct MapRow {
  double a, b, c, d, e, f, p;
};

// Three half-size maps whose attractor is the Sierpinski gasket over (0, 0), (1, 0), (0.5, 1).
inline constexpr MapRow kHalfMaps[3] = {{0.5, 0, 0, 0.5, 0, 0, 0.33},
                                        {0.5, 0, 0, 0.5, 0.5, 0, 0.33},
                                        {0.5, 0, 0, 0.5, 0.25, 0.5, 0.34}};

// The shared state as start-up leaves it for a 640 × 480 canvas, with `rows` in the table (the
// running sums of p as the grid reading builds them), the given depth or step count and a red
// pen.
inline Module1 drawingState(const std::vector<MapRow>& rows, int count) {
  Module1 state;
  state.deriveDrawingSquare(float(kCanvasWidth * 15), float(kCanvasHeight * 15));
  state.penColor = kPen;
  state.iterationCount = count;
  MapTable& maps = state.maps;
  int i = 0;
  for (const MapRow& row : rows) {
    ++i;
    maps.mapA[i] = row.a;
    maps.mapB[i] = row.b;
    maps.mapC[i] = row.c;
    maps.mapD[i] = row.d;
    maps.mapE[i] = row.e;
    maps.mapF[i] = row.f;
    maps.mapP[i] = row.p;
    maps.mapCumP[i] = row.p == 0 ? 0 : maps.mapCumP[i - 1] + row.p;
  }
  maps.mapCount = i;
  return state;
}

// A point given in fractions of the drawing square's side, on the canvas in twips.
struct UnitPoint {
  double u, v;
};
inline float canvasX(const Module1& state, UnitPoint p) {
  return float(state.originX + p.u * state.viewScale);
}
inline float canvasY(const Module1& state, UnitPoint p) {
  return float(state.originY - p.v * state.viewScale);
}

// Float twips agree to well under a pixel's thousandth.
inline constexpr float kTwipTolerance = 0.01f;

// Checks that `call` is a line from `from` to `to`.
inline void expectSegment(const Module1& state, const SurfaceCall& call, UnitPoint from,
                          UnitPoint to) {
  EXPECT_NEAR(call.x1, canvasX(state, from), kTwipTolerance);
  EXPECT_NEAR(call.y1, canvasY(state, from), kTwipTolerance);
  EXPECT_NEAR(call.x2, canvasX(state, to), kTwipTolerance);
  EXPECT_NEAR(call.y2, canvasY(state, to), kTwipTolerance);
}

}  // namespace quill::testing
