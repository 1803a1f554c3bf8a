#pragma once

#include "core/base/chaos_random.h"
#include "core/base/render_control.h"
#include "core/maps/drawing_state.h"
#include "core/render/drawing.h"

namespace quill {

class Canvas;

// drawReference on a canvas, pixel for pixel and with the same random sequence, through the
// fast renderers on `threads` threads (0: one per core): the chaos game by playChaosGameParallel
// (one thread: the one-orbit playChaosGameFast), the fractals by the pruned walk of
// fast_fractal.h. The blue print stays with the recursion: its numbers are drawn between its
// figures. Leaves iterationCount, recursionLevel and labelImages as drawReference does. Returns
// false when cancelled; what was drawn stays.
bool drawFast(Canvas& canvas, DrawingKind kind, DrawingState& drawing, ChaosRandom& random,
              const RenderControl& control, int threads = 0);

}  // namespace quill
