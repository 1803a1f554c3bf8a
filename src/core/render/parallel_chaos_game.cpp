#include "core/render/parallel_chaos_game.h"

#include <algorithm>
#include <array>
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
#include "core/render/fast_chaos_game.h"
#include "core/render/map_guide.h"
#include "core/render/segmented_orbit.h"
#include "core/render/view.h"

// Why the picture is the reference's, pixel for pixel: the segments play the one-orbit game's
// steps (segmented_orbit.h), each into a bit-plane of its own. Segments are then taken in order:
// a segment whose start proves true has the reference's pixels in its plane, and gives its end to
// the next; otherwise its plane is dropped and its steps are played again from the true state,
// straight onto the canvas.
//
// The chaos game only ever turns pixels to the pen colour, so the picture is the union of the
// pixels plotted, in any order: merging a plane sets its pixels to the pen colour. The canvas
// always holds the pixels of the first steps merged, so the generator jumped by that many steps,
// and the last of their points, are what the reference leaves after them.

namespace quill {

namespace {

// A segment plays at least a quarter of a step per canvas pixel (below).
constexpr std::int64_t kPixelsPerStep = 4;
// Planes per thread: one being drawn, one drawn and waiting for the segments before it.
constexpr int kPlanesPerThread = 2;
// Memory for the planes at most: a 16384-pixel square canvas takes 32 MiB a plane.
constexpr std::size_t kPlaneBudgetBytes = std::size_t{256} << 20;
// How long a thread waiting for a plane sleeps between looks at the cancel flag.
constexpr auto kPlaneWait = std::chrono::milliseconds(5);

using Orbit = SegmentedOrbit<>;

struct Segment {
  int plane = -1;
  Orbit::State start;      // the state its own steps started from
  Orbit::State end;        // the state after its last step
  std::int64_t endStep{};  // the step after its last: short of the segment's end when cancelled
  bool drawn = false;
};

// One game cut into segments. drawSegment runs on the workers; whichever worker finds the next
// segments in order drawn merges them (one at a time holds that role), so the canvas, the true
// state and the count of steps merged are only ever touched by one thread at a time.
class SegmentedGame {
 public:
  SegmentedGame(Canvas& canvas, const DrawingState& drawing, const ChaosRandom& random,
                const RenderControl& control, const SegmentCut& cut, std::vector<BitPlane>& planes)
      : choice_(drawing.maps),
        guide_(choice_),
        maps_(scaledMaps(drawing.maps, drawing.square.viewScale)),
        orbit_(ChaosOrbit{guide_, maps_}, cut, random, orbitStart(drawing), control),
        ink_(canvas),
        mapper_(View::of(drawing.square), ink_.width(), ink_.height(), ink_.twipsPerPixel()),
        value_(CanvasInk::inkOf(drawing.penColor)),
        control_(control),
        planes_(planes),
        segments_(std::size_t(cut.count())),
        trueEnd_(orbit_.start()) {
    for (int i = 0; i < int(planes.size()); ++i) freePlanes_.push_back(i);
  }

  // Draws segment k into a plane, then merges what is ready. False when cancelled.
  bool drawSegment(std::int64_t k) {
    int plane = -1;
    if (!takePlane(k, plane)) return false;
    BitPlane& bits = planes_[std::size_t(plane)];
    bits.clear();
    ChaosRandom random;
    Orbit::State state;
    if (!orbit_.warmUp(k, random, state)) {
      const std::lock_guard lock(mutex_);
      freePlanes_.push_back(plane);
      return false;
    }
    const Orbit::State start = state;
    const auto plot = [mapper = mapper_, words = bits.words(), wordsPerRow = bits.wordsPerRow()](
                          FigurePoint q, NoMark) {
      int px = 0;
      int py = 0;
      if (mapper.pixelOf(q, px, py)) BitPlane::set(words, wordsPerRow, px, py);
    };
    // A cancelled segment is kept too: when its start is the true state, the steps it played
    // are the next of the reference's, and the canvas shows them.
    const SegmentCut& cut = orbit_.cut();
    const std::int64_t endStep = orbit_.play(cut.first(k), cut.end(k), random, state, plot);
    {
      const std::lock_guard lock(mutex_);
      segments_[std::size_t(k)] = {plane, start, state, endStep, true};
    }
    return mergeDrawnSegments() && endStep == cut.end(k);
  }

  // After the workers: how far the canvas holds the reference's picture, and its last point.
  std::int64_t mergedSteps() const { return mergedSteps_; }
  FigurePoint trueEnd() const { return trueEnd_.mapped; }
  std::int64_t redrawn() const { return redrawn_; }

 private:
  std::int64_t segmentCount() const { return std::int64_t(segments_.size()); }

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
      if (Orbit::sameStart(segment.start, trueEnd_)) {
        mergePlane(planes_[std::size_t(segment.plane)]);
        trueEnd_ = segment.end;
        mergedSteps_ = segment.endStep;
        whole = segment.endStep == orbit_.cut().end(k);
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

  // Plays segment k's steps from the true state onto the canvas. False when cancelled; the
  // steps played so far stay merged.
  bool redraw(std::int64_t k) {
    const auto plot = [mapper = mapper_, ink = ink_, value = value_](FigurePoint q, NoMark) {
      int px = 0;
      int py = 0;
      if (mapper.pixelOf(q, px, py)) ink.plotShared(px, py, value);
    };
    Orbit::State state = trueEnd_;
    return orbit_.replay(k, state, plot, [this](const Orbit::State& after, std::int64_t done) {
      trueEnd_ = after;
      mergedSteps_ = done;
    }) == orbit_.cut().end(k);
  }

  const MapChoice choice_;
  const MapGuide guide_;
  const std::array<ScaledMap, kMapSlots> maps_;
  const Orbit orbit_;
  const CanvasInk ink_;
  const PixelMapper mapper_;
  const std::uint32_t value_;
  const RenderControl& control_;
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
  Orbit::State trueEnd_;
  std::int64_t mergedSteps_ = 0;
  std::int64_t redrawn_ = 0;
};

}  // namespace

ParallelChaosOutcome playChaosGameParallel(Canvas& canvas, DrawingState& drawing,
                                           ChaosRandom& random, const RenderControl& control,
                                           const ParallelChaosSettings& settings) {
  ParallelChaosOutcome outcome;
  const std::int64_t steps = drawing.iterationCount;
  const int threads = settings.threads > 0 ? settings.threads : defaultDrawingThreads();
  // A segment plays at least a quarter of a step per canvas pixel, so that clearing and merging
  // its plane (a bit per pixel) cost little beside it.
  const std::int64_t pixels =
      std::int64_t(canvas.widthPixels()) * std::int64_t(std::max(canvas.heightPixels(), 0));
  const std::optional<SegmentCut> cut =
      cutChaosGame(drawing.maps, steps, threads,
                   {settings.segmentSteps, settings.warmUpSteps, settings.firstSegmentSteps},
                   pixels / kPixelsPerStep);
  const auto oneOrbit = [&] {
    outcome.finished = playChaosGameFast(canvas, drawing, random, control);
    return outcome;
  };
  if (!cut) return oneOrbit();

  const std::size_t planeBytes =
      std::size_t((canvas.widthPixels() + 63) / 64) * 8 * std::size_t(canvas.heightPixels());
  const std::int64_t planeCount =
      std::min({cut->count(), std::int64_t(kPlanesPerThread) * threads,
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

  SegmentedGame game(canvas, drawing, random, control, *cut, planes);
  const bool ran = runTasks(
      cut->count(), int(std::min<std::int64_t>(threads, planeCount)), control,
      [&game](std::int64_t k) { return game.drawSegment(k); },
      [&cut](std::int64_t k) { return cut->end(k) - cut->first(k); });
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
  outcome.segments = cut->count();
  outcome.redrawn = game.redrawn();
  outcome.warmUpSteps = cut->warmUpSteps;
  return outcome;
}

}  // namespace quill
