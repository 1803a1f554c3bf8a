#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "core/base/color.h"
#include "core/maps/drawing_state.h"
#include "core/render/view.h"
#include "recording_surface.h"
#include "support/map_rows.h"

namespace quill::testing {

inline constexpr int kCanvasWidth = 640;  // pixels, 15 twips each
inline constexpr int kCanvasHeight = 480;
inline constexpr Rgb kPen = rgb(200, 0, 0);

// The shared state as start-up leaves it for a 640 × 480 canvas, with `rows` in the table (the
// running sums of p as the grid reading builds them), the given depth or step count and a red
// pen.
inline DrawingState drawingState(const std::vector<WeightedMap>& rows, int count) {
  DrawingState state;
  state.square = DrawingSquare::onCanvas(float(kCanvasWidth * 15), float(kCanvasHeight * 15));
  state.penColor = kPen;
  state.iterationCount = count;
  storeRows(state.maps, rows);
  return state;
}

// A point given in fractions of the drawing square's side, on the canvas in twips.
struct UnitPoint {
  double u, v;
};
inline float canvasX(const DrawingState& state, UnitPoint p) {
  return float(state.square.originX + p.u * state.square.viewScale);
}
inline float canvasY(const DrawingState& state, UnitPoint p) {
  return float(state.square.originY - p.v * state.square.viewScale);
}

// Float twips agree to well under a pixel's thousandth.
inline constexpr float kTwipTolerance = 0.01f;

// Checks that `call` is a line from `from` to `to`.
inline void expectSegment(const DrawingState& state, const SurfaceCall& call, UnitPoint from,
                          UnitPoint to) {
  EXPECT_NEAR(call.x1, canvasX(state, from), kTwipTolerance);
  EXPECT_NEAR(call.y1, canvasY(state, from), kTwipTolerance);
  EXPECT_NEAR(call.x2, canvasX(state, to), kTwipTolerance);
  EXPECT_NEAR(call.y2, canvasY(state, to), kTwipTolerance);
}

}  // namespace quill::testing
