#pragma once

#include <cstdint>

#include "core/base/chaos_random.h"
#include "core/base/render_control.h"
#include "core/maps/drawing_state.h"

namespace quill {

class Canvas;

// How playChaosGameParallel splits the game. The defaults suit drawing; tests shorten the
// segments and the warm-up to reach the cases drawing seldom meets.
struct ParallelChaosSettings {
  int threads = 0;                     // 0: one per core; 1: the one-orbit loop
  std::int64_t segmentSteps = 0;       // 0: chosen from the count, the threads and the canvas
  std::int64_t warmUpSteps = 0;        // 0: chosen from the maps (chaos_warm_up.h)
  std::int64_t firstSegmentSteps = 0;  // as SegmentSettings (segmented_orbit.h)
};

// What a game did, for tests and benchmarks.
struct ParallelChaosOutcome {
  bool finished = true;  // false when cancelled
  bool oneOrbit = true;  // drawn by playChaosGameFast: one thread, maps that do not
                         // contract, or a count too small to split
  // Of a split game: the first steps, whose pixels are on the canvas (all when finished).
  std::int64_t stepsDrawn = 0;
  std::int64_t segments = 0;
  std::int64_t redrawn = 0;  // segments whose start missed the true point and were drawn again
  std::int64_t warmUpSteps = 0;
};

// The chaos game of playChaosGameFast, pixel for pixel the same picture, on several threads: the
// steps are cut into segments, each drawn from a warm-up on its own and kept only if its start
// proves to be the reference's point, otherwise drawn again from that point. Leaves the
// generator and the canvas's current position as the one-orbit loop does. When cancelled, stops
// within a batch of steps per thread and returns finished = false; the canvas then holds the
// pixels of the first steps only, the generator and the current position as after them.
ParallelChaosOutcome playChaosGameParallel(Canvas& canvas, DrawingState& drawing,
                                           ChaosRandom& random, const RenderControl& control,
                                           const ParallelChaosSettings& settings = {});

}  // namespace quill
