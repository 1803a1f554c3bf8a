#include "core/picture/hit_counts.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <new>
#include <optional>

#include "core/base/task_pool.h"
#include "core/picture/picture.h"
#include "core/render/affine_map.h"
#include "core/render/chaos_orbit.h"
#include "core/render/chaos_warm_up.h"
#include "core/render/map_choice.h"
#include "core/render/map_guide.h"
#include "core/render/view.h"

namespace quill {

namespace {

constexpr double kTwipsPerPixel = 15;
// A segment plays at least this many steps (milliseconds of work beside its jump and warm-up),
// and at least this many times its warm-up.
constexpr std::int64_t kMinSegmentSteps = std::int64_t{1} << 22;
constexpr std::int64_t kStepsPerWarmUpStep = 8;
// At most this many segments, however long the game.
constexpr std::int64_t kMaxSegments = 1024;

// The game between two steps, with the tint the next map moves.
struct PointState {
  OrbitState orbit;
  Tint tint;
};

bool sameState(const PointState& a, const PointState& b) {
  const auto bits = [](double v) { return std::bit_cast<std::uint64_t>(v); };
  return bits(a.orbit.mapped.x) == bits(b.orbit.mapped.x) &&
         bits(a.orbit.mapped.y) == bits(b.orbit.mapped.y) && a.tint == b.tint;
}

struct SegmentRecord {
  PointState start;  // the state its own steps started from
  PointState end;
};

class HitCounter {
 public:
  HitCounter(HitGrid& grid, const DrawingState& drawing, const ChaosRandom& random,
             const std::array<Tint, kMapSlots>* tints, const RenderControl& control,
             std::int64_t segmentSteps, std::int64_t warmUpSteps)
      : grid_(grid),
        choice_(drawing.maps),
        guide_(choice_),
        maps_(scaledMaps(drawing.maps, drawing.square.viewScale)),
        mapper_(View::of(drawing.square), grid.width, grid.height, kTwipsPerPixel),
        tints_(tints != nullptr ? *tints : std::array<Tint, kMapSlots>{}),
        byMap_(tints != nullptr),
        control_(control),
        random_(random),
        steps_(drawing.iterationCount),
        segmentSteps_(segmentSteps),
        warmUpSteps_(warmUpSteps),
        start_{orbitStart(drawing), tints_[1]},
        records_(std::size_t(segmentCount())) {}

  std::int64_t segmentCount() const { return (steps_ + segmentSteps_ - 1) / segmentSteps_; }

  // Plays segment k from its warm-up into the grid. False when cancelled.
  bool playSegment(std::int64_t k, bool shared) {
    const std::int64_t first = k * segmentSteps_;
    const std::int64_t from = k == 0 ? 0 : std::max<std::int64_t>(0, first - warmUpSteps_);
    ChaosRandom random = random_;
    random.advance(std::uint64_t(from));
    PointState state = start_;
    if (!play(from, first, random, state, 0, shared)) return false;
    records_[std::size_t(k)].start = state;
    if (!play(first, segmentEnd(k), random, state, 1, shared)) return false;
    records_[std::size_t(k)].end = state;
    return true;
  }

  // After every segment is played: takes out each segment that started off the true orbit and
  // plays it again from the true start, in order. False when cancelled.
  bool mendSegments() {
    PointState trueEnd = records_[0].end;
    for (std::int64_t k = 1; k < segmentCount(); ++k) {
      SegmentRecord& record = records_[std::size_t(k)];
      if (!sameState(record.start, trueEnd)) {
        const std::int64_t first = k * segmentSteps_;
        ChaosRandom random = random_;
        random.advance(std::uint64_t(first));
        ChaosRandom again = random;
        PointState wrong = record.start;
        if (!play(first, segmentEnd(k), random, wrong, -1, false)) return false;
        record.start = trueEnd;
        if (!play(first, segmentEnd(k), again, record.start, 1, false)) return false;
        record.end = record.start;
        ++mended_;
      }
      trueEnd = record.end;
    }
    return true;
  }

  std::int64_t mended() const { return mended_; }

 private:
  std::int64_t segmentEnd(std::int64_t k) const {
    return std::min(steps_, (k + 1) * segmentSteps_);
  }

  // Plays steps [from, to) in batches, adding `sign` (−1, 0 or 1) hits for each point; false when
  // cancelled.
  bool play(std::int64_t from, std::int64_t to, ChaosRandom& random, PointState& state, int sign,
            bool shared) {
    for (std::int64_t done = from; done < to; done += kChaosBatch) {
      if (control_.cancelled()) return false;
      const std::int64_t batch = std::min(to - done, kChaosBatch);
      if (sign == 0) {
        run<0, false>(batch, random, state);
      } else if (sign < 0) {
        run<-1, true>(batch, random, state);
      } else if (shared) {
        run<1, true>(batch, random, state);
      } else {
        run<1, false>(batch, random, state);
      }
    }
    return true;
  }

  // The steps of ChaosOrbit::run, the tint beside the point.
  template <int kSign, bool kAtomic>
  void run(std::int64_t steps, ChaosRandom& random, PointState& state) const {
    ChaosRandom local = random;
    FigurePoint p = state.orbit.point;
    FigurePoint q = state.orbit.mapped;
    Tint tint = state.tint;
    const bool byMap = byMap_;
    std::uint32_t* const counts = grid_.counts.data();
    std::uint64_t* const sums = grid_.colourSums.data();
    const std::size_t width = std::size_t(grid_.width);
    for (std::int64_t step = 0; step < steps; ++step) {
      const int j = guide_.pick(local.nextBits() >> 8);
      if (j != 0) [[likely]] {
        q = maps_[j].apply(p);
        if (byMap) {
          const Tint& towards = tints_[std::size_t(j)];
          tint = {(tint.red + towards.red) >> 1, (tint.green + towards.green) >> 1,
                  (tint.blue + towards.blue) >> 1};
        }
      }
      p = q;
      int px = 0;
      int py = 0;
      if (kSign == 0 || !mapper_.pixelOf(q, px, py)) continue;
      const std::size_t at = std::size_t(py) * width + std::size_t(px);
      add<kSign, kAtomic>(counts[at], 1u);
      if (byMap) {
        add<kSign, kAtomic>(sums[3 * at], std::uint64_t(tint.red));
        add<kSign, kAtomic>(sums[3 * at + 1], std::uint64_t(tint.green));
        add<kSign, kAtomic>(sums[3 * at + 2], std::uint64_t(tint.blue));
      }
    }
    random = local;
    state = {{p, q}, tint};
  }

  // Relaxed atomic adds while several threads count: sums of integers, so their order is free.
  template <int kSign, bool kAtomic, class T>
  static void add(T& cell, T value) {
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

  HitGrid& grid_;
  const MapChoice choice_;
  const MapGuide guide_;
  const std::array<ScaledMap, kMapSlots> maps_;
  const PixelMapper mapper_;
  const std::array<Tint, kMapSlots> tints_;
  const bool byMap_;
  const RenderControl& control_;
  const ChaosRandom random_;
  const std::int64_t steps_;
  const std::int64_t segmentSteps_;
  const std::int64_t warmUpSteps_;
  const PointState start_;
  std::vector<SegmentRecord> records_;  // each written by the thread that plays its segment
  std::int64_t mended_ = 0;
};

}  // namespace

Result<HitGrid> countHits(int width, int height, const DrawingState& drawing,
                          const ChaosRandom& random, const std::array<Tint, kMapSlots>* mapTints,
                          const RenderControl& control, const HitSettings& settings) {
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

  // Maps not sure to shrink have no warm-up: one segment, played from the true start.
  const std::optional<std::int64_t> warmUp = settings.warmUpSteps > 0
                                                 ? std::optional(settings.warmUpSteps)
                                                 : chaosWarmUpSteps(drawing.maps);
  std::int64_t segmentSteps = steps;
  if (settings.segmentSteps > 0) {
    segmentSteps = settings.segmentSteps;
  } else if (warmUp) {
    segmentSteps = std::max({kMinSegmentSteps, *warmUp * kStepsPerWarmUpStep,
                             (steps + kMaxSegments - 1) / kMaxSegments});
  }
  HitCounter counter(grid, drawing, random, mapTints, control, segmentSteps, warmUp.value_or(0));
  const int threads = control.threads > 0 ? control.threads : defaultDrawingThreads();
  const bool shared = threads > 1 && counter.segmentCount() > 1;
  const bool played = runTasks(counter.segmentCount(), threads, control,
                               [&](std::int64_t k) { return counter.playSegment(k, shared); });
  if (!played || !counter.mendSegments()) return Failure{kPictureCancelledMessage};
  return grid;
}

}  // namespace quill
