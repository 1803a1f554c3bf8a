#include "core/render/fast_drawing.h"

#include "core/canvas/canvas.h"
#include "core/render/fast_fractal.h"
#include "core/render/frame.h"
#include "core/render/parallel_chaos_game.h"

namespace quill {

bool drawFast(Canvas& canvas, Drawing drawing, Module1& module1, ChaosRandom& random,
              const RenderControl& control, int threads) {
  switch (drawing) {
    case Drawing::BluePrint:
      return drawReference(canvas, drawing, module1, random, control);
    case Drawing::TriangleFractal:
      DrawFrame(canvas, module1);
      return drawTriangleFigureFast(canvas, module1, control, threads);
    case Drawing::SquareFractal:
      DrawFrame(canvas, module1);
      return drawSquareFigureFast(canvas, module1, control, threads);
    case Drawing::ChaosGame:
      DrawFrame(canvas, module1);
      return playChaosGameParallel(canvas, module1, random, control, {.threads = threads}).finished;
  }
  return true;
}

}  // namespace quill
