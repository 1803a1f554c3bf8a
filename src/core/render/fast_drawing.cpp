#include "core/render/fast_drawing.h"

#include "core/canvas/canvas.h"
#include "core/render/fast_fractal.h"
#include "core/render/frame.h"
#include "core/render/parallel_chaos_game.h"

namespace quill {

bool drawFast(Canvas& canvas, DrawingKind kind, DrawingState& drawing, ChaosRandom& random,
              const RenderControl& control, int threads) {
  switch (kind) {
    case DrawingKind::BluePrint:
      return drawReference(canvas, kind, drawing, random, control);
    case DrawingKind::TriangleFractal:
      drawFrame(canvas, drawing.square);
      return drawTriangleFigureFast(canvas, drawing, control, threads);
    case DrawingKind::SquareFractal:
      drawFrame(canvas, drawing.square);
      return drawSquareFigureFast(canvas, drawing, control, threads);
    case DrawingKind::ChaosGame:
      drawFrame(canvas, drawing.square);
      return playChaosGameParallel(canvas, drawing, random, control, {.threads = threads}).finished;
  }
  return true;
}

}  // namespace quill
