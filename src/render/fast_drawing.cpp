#include "render/fast_drawing.h"

#include "render/fast_fractal.h"
#include "render/frame.h"
#include "render/parallel_chaos_game.h"
#include "shell/canvas.h"

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

bool drawOn(Canvas& canvas, Drawing drawing, Module1& module1, ChaosRandom& random,
            const RenderControl& control) {
  return drawFast(canvas, drawing, module1, random, control, control.threads);
}

}  // namespace quill
