#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <optional>

#include "core/base/chaos_random.h"
#include "core/base/render_control.h"
#include "core/maps/map_table.h"
#include "core/render/chaos_game.h"
#include "core/render/chaos_orbit.h"

// The chaos game cut into segments that threads play on their own, yet point for point the
// one-orbit game: what the canvas's parallel game and the picture's hit counter share.
//
// A step of the game is a function of the state before it (one point and its mark, once a step
// has been played) and of that step's draw. Segment k covers steps [first, end); its generator is
// the caller's jumped to `first − w` numbers ahead, so it plays a warm-up of w steps and then its
// own steps with the very draws the one-orbit game gives those steps, through the same map choice
// and the same double arithmetic (no contraction of multiply-adds, whatever the optimisation).
// The warm-up starts from the game's own start, within the figure's reach, and w is long enough
// that the orbit most likely holds the true point to the bit by then (chaos_warm_up.h). When the
// state segment k started its own steps from has the same bits as the true state after segment
// k − 1, segment k played exactly the one-orbit game's steps, and its end is the true state
// before segment k + 1; otherwise the caller replays its steps from the true state. Comparing
// the bits of the doubles is sound for every value (NaN included; −0 against +0 only costs a
// replay). Segment 0 has no warm-up: it starts from the game's start, the true state.

namespace quill {

// How a game is to be cut; tests shorten the segments and the warm-up to reach the cases drawing
// seldom meets.
struct SegmentSettings {
  std::int64_t segmentSteps = 0;  // 0: chosen from the count, the threads and the maps
  std::int64_t warmUpSteps = 0;   // 0: chosen from the maps (chaos_warm_up.h)
  // The first segment's steps, each next one twice as many until they reach segmentSteps.
  // 0: chosen with segmentSteps when that is chosen, else no ramp.
  std::int64_t firstSegmentSteps = 0;
};

// A game of `steps` steps cut into segments, each but the first played after warmUpSteps steps
// of its own. The first segments ramp up: firstSteps, then twice that, and so on while shorter
// than segmentSteps, so that the first of the game's points come soon; then segmentSteps each
// (the last may be shorter). firstSteps 0 (or at least segmentSteps): no ramp.
struct SegmentCut {
  std::int64_t steps = 0;
  std::int64_t segmentSteps = 1;
  std::int64_t warmUpSteps = 0;
  std::int64_t firstSteps = 0;

  std::int64_t count() const {
    const std::int64_t ramp = rampSegments();
    const std::int64_t rampSteps = stepsBefore(ramp);
    if (steps > rampSteps) return ramp + (steps - rampSteps + segmentSteps - 1) / segmentSteps;
    std::int64_t k = 0;
    while (stepsBefore(k) < steps) ++k;
    return k;
  }
  std::int64_t first(std::int64_t k) const { return std::min(steps, stepsBefore(k)); }
  std::int64_t end(std::int64_t k) const { return std::min(steps, stepsBefore(k + 1)); }
  // Where segment k's warm-up starts: no earlier than the game's first step.
  std::int64_t warmUpFrom(std::int64_t k) const {
    return k == 0 ? 0 : std::max<std::int64_t>(0, first(k) - warmUpSteps);
  }

 private:
  // Ramp segments: those shorter than segmentSteps (at most 62 of them).
  std::int64_t rampSegments() const {
    if (firstSteps <= 0 || firstSteps >= segmentSteps) return 0;
    std::int64_t k = 0;
    while ((firstSteps << k) < segmentSteps) ++k;
    return k;
  }
  // The steps of segments 0 to k − 1, uncut by `steps`.
  std::int64_t stepsBefore(std::int64_t k) const {
    const std::int64_t ramp = rampSegments();
    if (k <= ramp) return firstSteps * ((std::int64_t{1} << k) - 1);
    return firstSteps * ((std::int64_t{1} << ramp) - 1) + (k - ramp) * segmentSteps;
  }
};

// The cut of a game of `steps` steps of `maps` for `threads` threads: segments of at least
// leastSegmentSteps (what else a segment costs the caller), and long enough beside their jump and
// warm-up. When the segments' length is chosen here, the first segments ramp up from the
// shortest such length, so that a long game's first points are plotted within milliseconds. Nothing
// when the game is played as one orbit: one thread, no steps, no maps, maps not sure to shrink (no
// warm-up finds their orbit), or too few steps to make two segments.
[[nodiscard]] std::optional<SegmentCut> cutChaosGame(const MapTable& maps, std::int64_t steps,
                                                     int threads, const SegmentSettings& settings,
                                                     std::int64_t leastSegmentSteps = 0);

// Plays the segments of one cut game. The merging of what segments plot is the caller's: the
// canvas keeps a plane per segment and merges in order, the hit counter counts at once and takes
// a replayed segment's hits out again.
template <class Mark = NoMark>
class SegmentedOrbit {
 public:
  using State = OrbitState<Mark>;

  SegmentedOrbit(const ChaosOrbit& orbit, const SegmentCut& cut, const ChaosRandom& random,
                 const State& start, const RenderControl& control)
      : orbit_(orbit), cut_(cut), random_(random), start_(start), control_(control) {}

  const SegmentCut& cut() const { return cut_; }
  // The true state before segment 0.
  const State& start() const { return start_; }

  // Plays steps [from, to) from `state` with `random`, in batches of kChaosBatch, looking at the
  // cancel flag before each and calling afterBatch(state, steps done) after each. Returns the
  // step it stopped at: `to` unless cancelled.
  template <class Plot, class AfterBatch>
  std::int64_t play(std::int64_t from, std::int64_t to, ChaosRandom& random, State& state,
                    const Plot& plot, const AfterBatch& afterBatch) const {
    std::int64_t done = from;
    while (done < to && !control_.cancelled()) {
      const std::int64_t batch = std::min(to - done, kChaosBatch);
      orbit_.run(batch, random, state, plot);
      done += batch;
      afterBatch(state, done);
    }
    return done;
  }
  template <class Plot>
  std::int64_t play(std::int64_t from, std::int64_t to, ChaosRandom& random, State& state,
                    const Plot& plot) const {
    return play(from, to, random, state, plot, [](const State&, std::int64_t) {});
  }

  // Segment k's warm-up, plotting nothing: leaves `random` and `state` where segment k's own
  // steps start from. False when cancelled.
  bool warmUp(std::int64_t k, ChaosRandom& random, State& state) const {
    const std::int64_t from = cut_.warmUpFrom(k);
    random = randomAt(from);
    state = start_;
    return play(from, cut_.first(k), random, state, [](FigurePoint, const Mark&) {}) ==
           cut_.first(k);
  }

  // Plays segment k's steps again from `state`, the true state before them. Returns the step it
  // stopped at: the segment's end unless cancelled.
  template <class Plot, class AfterBatch>
  std::int64_t replay(std::int64_t k, State& state, const Plot& plot,
                      const AfterBatch& afterBatch) const {
    ChaosRandom random = randomAt(cut_.first(k));
    return play(cut_.first(k), cut_.end(k), random, state, plot, afterBatch);
  }
  template <class Plot>
  std::int64_t replay(std::int64_t k, State& state, const Plot& plot) const {
    return replay(k, state, plot, [](const State&, std::int64_t) {});
  }

  // The generator as the one-orbit game leaves it before `step`.
  ChaosRandom randomAt(std::int64_t step) const {
    ChaosRandom random = random_;
    random.advance(std::uint64_t(step));
    return random;
  }

  // Whether a segment that started its own steps from `start` played the one-orbit game's steps,
  // `truth` being the true state before them: the last point's bits and the mark the same.
  static bool sameStart(const State& start, const State& truth) {
    const auto bits = [](double v) { return std::bit_cast<std::uint64_t>(v); };
    return bits(start.mapped.x) == bits(truth.mapped.x) &&
           bits(start.mapped.y) == bits(truth.mapped.y) && start.mark == truth.mark;
  }

 private:
  const ChaosOrbit orbit_;
  const SegmentCut cut_;
  const ChaosRandom random_;  // as the game found it
  const State start_;
  const RenderControl& control_;
};

}  // namespace quill
