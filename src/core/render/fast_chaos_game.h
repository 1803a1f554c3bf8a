#pragma once

#include "core/base/chaos_random.h"
#include "core/base/render_control.h"
#include "core/maps/drawing_state.h"

namespace quill {

class Canvas;

// The chaos game of playChaosGame on a canvas, point for point the same picture from the same
// random sequence, at the speed of the arithmetic: the map comes from a MapGuide lookup and the
// point is written straight into the canvas's scan line. The canvas's current position ends at
// the last point, as after the last PSet. Returns false when cancelled (checked once a batch).
bool playChaosGameFast(Canvas& canvas, DrawingState& drawing, ChaosRandom& random,
                       const RenderControl& control);

}  // namespace quill
