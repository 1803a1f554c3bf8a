#include "core/picture/hit_counts.h"

#include <algorithm>
#include <atomic>
#include <new>
#include <optional>

#include "core/base/task_pool.h"
#include "core/picture/picture.h"
#include "core/render/affine_map.h"
#include "core/render/chaos_orbit.h"
#include "core/render/map_choice.h"
#include "core/render/map_guide.h"
#include "core/render/segmented_orbit.h"
#include "core/render/view.h"

namespace quill {

namespace {

constexpr double kTwipsPerPixel = 15;

// What a point carries when pictures are coloured by map: a tint that moves halfway towards the
// tint of each map that moves the point.
struct TintMark {
  Tint tint;
  const Tint* towards = nullptr;  // the tint of each map slot

  void follow(int map) {
    const Tint& goal = towards[map];
    tint = {(tint.red + goal.red) >> 1, (tint.green + goal.green) >> 1,
            (tint.blue + goal.blue) >> 1};
  }
  friend bool operator==(const TintMark& a, const TintMark& b) { return a.tint == b.tint; }
};

// Relaxed atomic adds while several threads count: sums of integers, so their order is free.
template <int kSign, bool kAtomic, class T>
void add(T& cell, T value) {
  if constexpr (kAtomic) {
    if constexpr (kSign > 0) {
      std::atomic_ref<T>(cell).fetch_add(value, std::memory_order_relaxed);
    } else {
      std::atomic_ref<T>(cell).fetch_sub(value, std::memory_order_relaxed);
    }
  } else {
    cell = kSign > 0 ? cell + value : cell - value;
  }
}

// Adds (kSign 1) or takes out (−1) a hit for each point in its pixel, and with a TintMark the
// point's tint to the pixel's sums.
template <int kSign, bool kAtomic>
struct CountHit {
  PixelMapper mapper;
  std::uint32_t* counts;
  std::uint64_t* sums;
  std::size_t width;

  void operator()(FigurePoint q, NoMark) const {
    int px = 0;
    int py = 0;
    if (!mapper.pixelOf(q, px, py)) return;
    add<kSign, kAtomic>(counts[std::size_t(py) * width + std::size_t(px)], 1u);
  }
  void operator()(FigurePoint q, const TintMark& mark) const {
    int px = 0;
    int py = 0;
    if (!mapper.pixelOf(q, px, py)) return;
    const std::size_t at = std::size_t(py) * width + std::size_t(px);
    add<kSign, kAtomic>(counts[at], 1u);
    add<kSign, kAtomic>(sums[3 * at], std::uint64_t(mark.tint.red));
    add<kSign, kAtomic>(sums[3 * at + 1], std::uint64_t(mark.tint.green));
    add<kSign, kAtomic>(sums[3 * at + 2], std::uint64_t(mark.tint.blue));
  }
};

// Counts the segments of one game straight into the grid, each from its warm-up, then takes out
// each segment that started off the true orbit and counts it again from the true state.
template <class Mark>
class HitCounter {
 public:
  using Orbit = SegmentedOrbit<Mark>;

  HitCounter(HitGrid& grid, const DrawingState& drawing, const ChaosRandom& random, Mark mark,
             const RenderControl& control, const SegmentCut& cut)
      : grid_(grid),
        choice_(drawing.maps),
        guide_(choice_),
        maps_(scaledMaps(drawing.maps, drawing.square.viewScale)),
        orbit_(ChaosOrbit{guide_, maps_}, cut, random, orbitStart(drawing, mark), control),
        mapper_(View::of(drawing.square), grid.width, grid.height, kTwipsPerPixel),
        records_(std::size_t(cut.count())) {}

  // Plays segment k from its warm-up into the grid. False when cancelled.
  bool playSegment(std::int64_t k, bool shared) {
    SegmentRecord& record = records_[std::size_t(k)];
    ChaosRandom random;
    if (!orbit_.warmUp(k, random, record.start)) return false;
    record.end = record.start;
    const SegmentCut& cut = orbit_.cut();
    const std::int64_t stopped =
        shared ? orbit_.play(cut.first(k), cut.end(k), random, record.end, counter<1, true>())
               : orbit_.play(cut.first(k), cut.end(k), random, record.end, counter<1, false>());
    return stopped == cut.end(k);
  }

  // After every segment is played: takes out each segment that started off the true orbit and
  // plays it again from the true state, in order. False when cancelled.
  bool mendSegments() {
    State trueEnd = records_[0].end;
    for (std::int64_t k = 1; k < orbit_.cut().count(); ++k) {
      SegmentRecord& record = records_[std::size_t(k)];
      if (!Orbit::sameStart(record.start, trueEnd)) {
        const std::int64_t end = orbit_.cut().end(k);
        State wrong = record.start;
        if (orbit_.replay(k, wrong, counter<-1, false>()) != end) return false;
        record.start = trueEnd;
        record.end = trueEnd;
        if (orbit_.replay(k, record.end, counter<1, false>()) != end) return false;
      }
      trueEnd = record.end;
    }
    return true;
  }

 private:
  using State = typename Orbit::State;
  struct SegmentRecord {
    State start;  // the state its own steps started from
    State end;
  };

  template <int kSign, bool kAtomic>
  CountHit<kSign, kAtomic> counter() const {
    return {mapper_, grid_.counts.data(), grid_.colourSums.data(), std::size_t(grid_.width)};
  }

  HitGrid& grid_;
  const MapChoice choice_;
  const MapGuide guide_;
  const std::array<ScaledMap, kMapSlots> maps_;
  const Orbit orbit_;
  const PixelMapper mapper_;
  std::vector<SegmentRecord> records_;  // each written by the thread that plays its segment
};

template <class Mark>
bool countSegments(HitGrid& grid, const DrawingState& drawing, const ChaosRandom& random, Mark mark,
                   const RenderControl& control, const SegmentCut& cut, int threads) {
  HitCounter<Mark> counter(grid, drawing, random, mark, control, cut);
  const bool shared = threads > 1 && cut.count() > 1;
  return runTasks(cut.count(), threads, control,
                  [&](std::int64_t k) { return counter.playSegment(k, shared); }) &&
         counter.mendSegments();
}

}  // namespace

Result<HitGrid> countHits(int width, int height, const DrawingState& drawing,
                          const ChaosRandom& random, const std::array<Tint, kMapSlots>* mapTints,
                          const RenderControl& control, const SegmentSettings& settings) {
  HitGrid grid;
  grid.width = width;
  grid.height = height;
  const std::size_t pixels = std::size_t(std::max(width, 0)) * std::size_t(std::max(height, 0));
  try {
    grid.counts.assign(pixels, 0);
    if (mapTints != nullptr) grid.colourSums.assign(3 * pixels, 0);
  } catch (const std::bad_alloc&) {
    return Failure{kNoMemoryMessage};
  }
  const std::int64_t steps = drawing.iterationCount;
  if (steps <= 0 || MapChoice(drawing.maps).mapCount() == 0) return grid;

  const int threads = control.threads > 0 ? control.threads : defaultDrawingThreads();
  // Played as one orbit: a single segment from the true start.
  const SegmentCut cut =
      cutChaosGame(drawing.maps, steps, threads, settings).value_or(SegmentCut{steps, steps, 0});
  const bool counted =
      mapTints != nullptr
          ? countSegments(grid, drawing, random, TintMark{(*mapTints)[1], mapTints->data()},
                          control, cut, threads)
          : countSegments(grid, drawing, random, NoMark{}, control, cut, threads);
  if (!counted) return Failure{kPictureCancelledMessage};
  return grid;
}

}  // namespace quill
