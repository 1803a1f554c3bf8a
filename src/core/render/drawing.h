#pragma once

#include <cstdint>

#include "core/base/chaos_random.h"
#include "core/base/render_control.h"
#include "core/maps/module1.h"
#include "core/render/chaos_game.h"
#include "core/render/frame.h"
#include "core/render/square_figure.h"
#include "core/render/surface.h"
#include "core/render/triangle_figure.h"

namespace quill {

// What a drawing command draws, once its checks have passed: a plain function of the shared state,
// the canvas and the generator. drawReference draws it by the straightforward recursion and loop;
// drawFast (fast_drawing.h) draws the same pixels on a canvas, faster.
enum class Drawing { BluePrint, TriangleFractal, SquareFractal, ChaosGame };

inline constexpr std::int32_t kMaxFractalDepth = 20;

// Draws what a check asked for: the frame, then the figures or points, by the straightforward
// recursion and loop. labelImages is true only while the blue print draws. Returns false when
// cancelled; what was drawn stays.
template <DrawingSurface Surface>
bool drawReference(Surface& surface, Drawing drawing, Module1& module1, ChaosRandom& random,
                   const RenderControl& control) {
  DrawFrame(surface, module1);
  switch (drawing) {
    case Drawing::BluePrint: {
      module1.labelImages = true;
      const bool finished = DrawSquareFigure(surface, module1, control);
      module1.labelImages = false;
      return finished;
    }
    case Drawing::TriangleFractal:
      return DrawTriangleFigure(surface, module1, control);
    case Drawing::SquareFractal:
      return DrawSquareFigure(surface, module1, control);
    case Drawing::ChaosGame:
      return PlayChaosGame(surface, module1, random, control);
  }
  return true;
}

}  // namespace quill
