#pragma once

#include <cstdint>

#include "core/base/chaos_random.h"
#include "core/base/render_control.h"
#include "core/maps/drawing_state.h"
#include "core/render/chaos_game.h"
#include "core/render/frame.h"
#include "core/render/square_figure.h"
#include "core/render/surface.h"
#include "core/render/triangle_figure.h"

namespace quill {

// What a drawing command draws, once its checks have passed: a plain function of the shared state,
// the canvas and the generator. drawReference draws it by the straightforward recursion and loop;
// drawFast (fast_drawing.h) draws the same pixels on a canvas, faster.
enum class DrawingKind { BluePrint, TriangleFractal, SquareFractal, ChaosGame };

inline constexpr std::int32_t kMaxFractalDepth = 20;

// Draws what a check asked for: the frame, then the figures or points, by the straightforward
// recursion and loop. labelImages is true only while the blue print draws. Returns false when
// cancelled; what was drawn stays.
template <DrawingSurface Surface>
bool drawReference(Surface& surface, DrawingKind kind, DrawingState& drawing, ChaosRandom& random,
                   const RenderControl& control) {
  drawFrame(surface, drawing.square);
  switch (kind) {
    case DrawingKind::BluePrint: {
      drawing.labelImages = true;
      const bool finished = drawSquareFigure(surface, drawing, control);
      drawing.labelImages = false;
      return finished;
    }
    case DrawingKind::TriangleFractal:
      return drawTriangleFigure(surface, drawing, control);
    case DrawingKind::SquareFractal:
      return drawSquareFigure(surface, drawing, control);
    case DrawingKind::ChaosGame:
      return playChaosGame(surface, drawing, random, control);
  }
  return true;
}

}  // namespace quill
