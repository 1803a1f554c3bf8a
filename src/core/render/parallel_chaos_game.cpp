#include "core/render/parallel_chaos_game.h"

#include <algorithm>
#include <array>
#include <bit>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <new>
#include <optional>
#include <vector>

#include "core/base/task_pool.h"
#include "core/canvas/canvas.h"
#include "core/render/affine_map.h"
#include "core/render/bit_plane.h"
#include "core/render/canvas_ink.h"
#include "core/render/chaos_game.h"
#include "core/render/chaos_orbit.h"
#include "core/render/chaos_warm_up.h"
#include "core/render/fast_chaos_game.h"
#include "core/render/map_guide.h"
#include "core/render/view.h"

// Why the picture is the reference's, pixel for pixel.
//
// A step of the game is a function of the state before it (one point, once a step has been
// played) and of that step's draw. Segment k covers steps [first, end); its generator is the
// caller's jumped `first − w` numbers ahead, so it plays the warm-up and its own steps with the
// very draws the reference gives those steps, through the same map choice and the same double
// arithmetic (no contraction of multiply-adds, whatever the optimisation). Its pixels go into a
// bit-plane of its own. Segments are then taken in order: when the point segment k started its
// own steps from has the same bits as the last point of segment k − 1 (known by then), segment k
// played exactly the reference's steps, so its pixels are the reference's, and it gives the true
// last point to segment k + 1. Otherwise its plane is dropped and its steps are played again
// from the true point, straight onto the canvas. Segment 0 starts from the reference's start.
//
// The chaos game only ever turns pixels to the pen colour, so the picture is the union of the
// pixels plotted, in any order: merging a plane sets its pixels to the pen colour. Comparing the
// bits of the doubles is sound for every value (NaN included; −0 against +0 only costs a redraw).
// The canvas always holds the pixels of the first steps merged, so the generator jumped by that
// many steps, and the last of their points, are what the reference leaves after them.

namespace quill {

namespace {

// A segment plays at least this many steps: milliseconds of one core's work, beside which its
// jump, warm-up and merge cost little.
constexpr std::int64_t kMinSegmentSteps = std::int64_t{1} << 20;
// Segments per thread: loads stay even on a shared machine and the progress bar moves smoothly.
constexpr std::int64_t kSegmentsPerThread = 8;
// A segment plays at least this many times the steps of its warm-up.
constexpr std::int64_t kStepsPerWarmUpStep = 8;
// A segment plays at least a quarter of a step per canvas pixel, so that clearing and merging its
// plane (a bit per pixel) cost little beside it.
constexpr std::int64_t kPixelsPerStep = 4;
// Planes per thread: one being drawn, one drawn and waiting for the segments before it.
constexpr int kPlanesPerThread = 2;
// Memory for the planes at most: a 16384-pixel square canvas takes 32 MiB a plane.
constexpr std::size_t kPlaneBudgetBytes = std::size_t{256} << 20;
// How long a thread waiting for a plane sleeps between looks at the cancel flag.
constexpr auto kPlaneWait = std::chrono::milliseconds(5);

bool sameBits(FigurePoint a, FigurePoint b) {
  return std::bit_cast<std::uint64_t>(a.x) == std::bit_cast<std::uint64_t>(b.x) &&
         std::bit_cast<std::uint64_t>(a.y) == std::bit_cast<std::uint64_t>(b.y);
}

struct Segment {
  int plane = -1;
  FigurePoint start;       // the point its own steps started from
  FigurePoint end;         // its last point
  std::int64_t endStep{};  // the step after its last: short of the segment's end when cancelled
  bool drawn = false;
};

// One game cut into segments. drawSegment runs on the workers; whichever worker finds the next
// segments in order drawn merges them (one at a time holds that role), so the canvas, the true
// point and the count of steps merged are only ever touched by one thread at a time.
class SegmentedGame {
 public:
  SegmentedGame(Canvas& canvas, const DrawingState& drawing, const ChaosRandom& random,
                const RenderControl& control, std::int64_t segmentSteps, std::int64_t warmUpSteps,
                std::vector<BitPlane>& planes)
      : choice_(drawing.maps),
        guide_(choice_),
        maps_(scaledMaps(drawing.maps, drawing.square.viewScale)),
        orbit_{guide_, maps_},
        view_(View::of(drawing.square)),
        ink_(canvas),
        mapper_(view_, ink_.width(), ink_.height(), ink_.twipsPerPixel()),
        value_(CanvasInk::inkOf(drawing.penColor)),
        control_(control),
        start_(orbitStart(drawing)),
        random_(random),
        steps_(drawing.iterationCount),
        segmentSteps_(segmentSteps),
        warmUpSteps_(warmUpSteps),
        planes_(planes),
        segments_(std::size_t((steps_ + segmentSteps - 1) / segmentSteps)),
        trueEnd_(start_.mapped) {
    for (int i = 0; i < int(planes.size()); ++i) freePlanes_.push_back(i);
  }

  std::int64_t segmentCount() const { return std::int64_t(segments_.size()); }

  // Draws segment k into a plane, then merges what is ready. False when cancelled.
  bool drawSegment(std::int64_t k) {
    int plane = -1;
    if (!takePlane(k, plane)) return false;
    BitPlane& bits = planes_[std::size_t(plane)];
    bits.clear();
    // The warm-up starts from the reference's start (at step 0 that is the true state).
    const std::int64_t first = k * segmentSteps_;
    const std::int64_t from = k == 0 ? 0 : std::max<std::int64_t>(0, first - warmUpSteps_);
    ChaosRandom random = random_;
    random.advance(std::uint64_t(from));
    OrbitState state = start_;
    const auto plotNothing = [](FigurePoint) {};
    const auto ignore = [](const OrbitState&, std::int64_t) {};
    if (playBatches(from, first, random, state, plotNothing, ignore) < first) {
      const std::lock_guard lock(mutex_);
      freePlanes_.push_back(plane);
      return false;
    }
    const FigurePoint start = state.mapped;
    const auto plot = [mapper = mapper_, words = bits.words(),
                       wordsPerRow = bits.wordsPerRow()](FigurePoint q) {
      int px = 0;
      int py = 0;
      if (mapper.pixelOf(q, px, py)) BitPlane::set(words, wordsPerRow, px, py);
    };
    // A cancelled segment is kept too: when its start is the true point, the steps it played
    // are the next of the reference's, and the canvas shows them.
    const std::int64_t endStep = playBatches(first, segmentEnd(k), random, state, plot, ignore);
    {
      const std::lock_guard lock(mutex_);
      segments_[std::size_t(k)] = {plane, start, state.mapped, endStep, true};
    }
    return mergeDrawnSegments() && endStep == segmentEnd(k);
  }

  // After the workers: how far the canvas holds the reference's picture, and its last point.
  std::int64_t mergedSteps() const { return mergedSteps_; }
  FigurePoint trueEnd() const { return trueEnd_; }
  std::int64_t redrawn() const { return redrawn_; }

 private:
  std::int64_t segmentEnd(std::int64_t k) const {
    return std::min(steps_, (k + 1) * segmentSteps_);
  }

  // Plays steps [from, to) in batches, looking at the cancel flag before each and calling
  // afterBatch(state, steps done) after each. Returns the step it stopped at: `to` unless
  // cancelled.
  template <class Plot, class AfterBatch>
  std::int64_t playBatches(std::int64_t from, std::int64_t to, ChaosRandom& random,
                           OrbitState& state, const Plot& plot,
                           const AfterBatch& afterBatch) const {
    std::int64_t done = from;
    while (done < to && !control_.cancelled()) {
      const std::int64_t batch = std::min(to - done, kChaosBatch);
      orbit_.run(batch, random, state, plot);
      done += batch;
      afterBatch(state, done);
    }
    return done;
  }

  // A free plane for segment k, waiting while k is a whole set of planes ahead of the next
  // segment to merge. Segments are handed out in order, so the one to merge next never waits, and
  // at most planes − 1 other segments hold a plane while k may take one.
  bool takePlane(std::int64_t k, int& plane) {
    std::unique_lock lock(mutex_);
    while (k >= nextToMerge_ + std::int64_t(planes_.size())) {
      if (control_.cancelled()) return false;
      planeFreed_.wait_for(lock, kPlaneWait);
    }
    plane = freePlanes_.back();
    freePlanes_.pop_back();
    return true;
  }

  // Merges the drawn segments that follow the merged ones, unless another thread is at it (it
  // looks again for drawn segments before it stops). False once a segment merged only in part
  // (cancelled): nothing may follow it.
  bool mergeDrawnSegments() {
    std::unique_lock lock(mutex_);
    if (merging_) return !stopped_;
    merging_ = true;
    while (!stopped_ && nextToMerge_ < segmentCount() &&
           segments_[std::size_t(nextToMerge_)].drawn) {
      const std::int64_t k = nextToMerge_;
      const Segment segment = segments_[std::size_t(k)];
      lock.unlock();
      bool whole = true;
      if (k == 0 || sameBits(segment.start, trueEnd_)) {
        mergePlane(planes_[std::size_t(segment.plane)]);
        trueEnd_ = segment.end;
        mergedSteps_ = segment.endStep;
        whole = segment.endStep == segmentEnd(k);
      } else {
        ++redrawn_;
        whole = redraw(k);
      }
      lock.lock();
      freePlanes_.push_back(segment.plane);
      if (whole) {
        ++nextToMerge_;
      } else {
        stopped_ = true;
      }
      planeFreed_.notify_all();
    }
    merging_ = false;
    return !stopped_;
  }

  void mergePlane(const BitPlane& plane) {
    // Relaxed atomic stores: the drawing's owner may copy the canvas (the growing picture shown
    // in the window) while the workers merge.
    plane.forEachSet([this](int px, int py) { ink_.plotShared(px, py, value_); });
  }

  // Plays segment k's steps from the true point onto the canvas. False when cancelled; the
  // steps played so far stay merged.
  bool redraw(std::int64_t k) {
    const std::int64_t first = k * segmentSteps_;
    ChaosRandom random = random_;
    random.advance(std::uint64_t(first));
    OrbitState state{trueEnd_, trueEnd_};
    const auto plot = [mapper = mapper_, ink = ink_, value = value_](FigurePoint q) {
      int px = 0;
      int py = 0;
      if (mapper.pixelOf(q, px, py)) ink.plotShared(px, py, value);
    };
    const std::int64_t end = segmentEnd(k);
    return playBatches(first, end, random, state, plot,
                       [this](const OrbitState& after, std::int64_t done) {
                         trueEnd_ = after.mapped;
                         mergedSteps_ = done;
                       }) == end;
  }

  const MapChoice choice_;
  const MapGuide guide_;
  const std::array<ScaledMap, kMapSlots> maps_;
  const ChaosOrbit orbit_;
  const View view_;
  const CanvasInk ink_;
  const PixelMapper mapper_;
  const std::uint32_t value_;
  const RenderControl& control_;
  const OrbitState start_;
  const ChaosRandom random_;  // as the game found it
  const std::int64_t steps_;
  const std::int64_t segmentSteps_;
  const std::int64_t warmUpSteps_;
  std::vector<BitPlane>& planes_;

  std::mutex mutex_;
  std::condition_variable planeFreed_;
  // Under mutex_:
  std::vector<Segment> segments_;
  std::vector<int> freePlanes_;
  std::int64_t nextToMerge_ = 0;
  bool merging_ = false;
  bool stopped_ = false;
  // The merging thread's:
  FigurePoint trueEnd_;
  std::int64_t mergedSteps_ = 0;
  std::int64_t redrawn_ = 0;
};

}  // namespace

ParallelChaosOutcome playChaosGameParallel(Canvas& canvas, DrawingState& drawing,
                                           ChaosRandom& random, const RenderControl& control,
                                           const ParallelChaosSettings& settings) {
  ParallelChaosOutcome outcome;
  const auto oneOrbit = [&] {
    outcome.finished = playChaosGameFast(canvas, drawing, random, control);
    return outcome;
  };
  const std::int64_t steps = drawing.iterationCount;
  const int threads = settings.threads > 0 ? settings.threads : defaultDrawingThreads();
  if (threads <= 1 || steps <= 0 || MapChoice(drawing.maps).mapCount() == 0) return oneOrbit();

  const std::optional<std::int64_t> warmUp = settings.warmUpSteps > 0
                                                 ? std::optional(settings.warmUpSteps)
                                                 : chaosWarmUpSteps(drawing.maps);
  // Maps not sure to shrink: a segment's start might never be found.
  if (!warmUp) return oneOrbit();
  const std::int64_t pixels =
      std::int64_t(canvas.widthPixels()) * std::int64_t(std::max(canvas.heightPixels(), 0));
  const std::int64_t segmentSteps =
      settings.segmentSteps > 0
          ? settings.segmentSteps
          : std::max({kMinSegmentSteps,
                      (steps + threads * kSegmentsPerThread - 1) / (threads * kSegmentsPerThread),
                      *warmUp * kStepsPerWarmUpStep, pixels / kPixelsPerStep});
  const std::int64_t segments = (steps + segmentSteps - 1) / segmentSteps;
  if (segments < 2) return oneOrbit();

  const std::size_t planeBytes =
      std::size_t((canvas.widthPixels() + 63) / 64) * 8 * std::size_t(canvas.heightPixels());
  const std::int64_t planeCount =
      std::min({segments, std::int64_t(kPlanesPerThread) * threads,
                std::int64_t(std::max<std::size_t>(
                    2, kPlaneBudgetBytes / std::max<std::size_t>(planeBytes, 1)))});
  std::vector<BitPlane> planes;
  try {
    planes.reserve(std::size_t(planeCount));
    for (std::int64_t i = 0; i < planeCount; ++i) {
      planes.emplace_back(canvas.widthPixels(), canvas.heightPixels());
    }
  } catch (const std::bad_alloc&) {
    planes.clear();
    planes.shrink_to_fit();
    return oneOrbit();  // the memory for the planes is not there; one orbit needs none
  }

  SegmentedGame game(canvas, drawing, random, control, segmentSteps, *warmUp, planes);
  const bool ran = runTasks(segments, int(std::min<std::int64_t>(threads, planeCount)), control,
                            [&game](std::int64_t k) { return game.drawSegment(k); });
  const std::int64_t merged = game.mergedSteps();
  random.advance(std::uint64_t(merged));
  if (merged > 0) {
    const View view = View::of(drawing.square);
    canvas.setCurrentX(view.canvasX(game.trueEnd().x));
    canvas.setCurrentY(view.canvasY(game.trueEnd().y));
  }
  outcome.finished = ran && merged == steps;
  outcome.stepsDrawn = merged;
  outcome.oneOrbit = false;
  outcome.segments = segments;
  outcome.redrawn = game.redrawn();
  outcome.warmUpSteps = *warmUp;
  return outcome;
}

}  // namespace quill
