#include "core/picture/hit_counts.h"

#include <algorithm>
#include <bit>
#include <mutex>
#include <new>
#include <optional>
#include <type_traits>

#include "core/base/task_pool.h"
#include "core/picture/hit_tally.h"
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

// Adds (kSign 1) or takes out (−1) a hit for each point in its pixel of `grid`, and with a
// TintMark the point's tint to the pixel's sums. Plain adds: the grid is this thread's alone.
template <int kSign>
struct CountHit {
  PixelMapper mapper;
  std::uint32_t* counts;
  std::uint64_t* sums;
  std::size_t width;

  void operator()(FigurePoint q, NoMark) const {
    int px = 0;
    int py = 0;
    if (!mapper.pixelOf(q, px, py)) return;
    counts[std::size_t(py) * width + std::size_t(px)] += std::uint32_t(kSign);
  }
  void operator()(FigurePoint q, const TintMark& mark) const {
    int px = 0;
    int py = 0;
    if (!mapper.pixelOf(q, px, py)) return;
    const std::size_t at = std::size_t(py) * width + std::size_t(px);
    counts[at] += std::uint32_t(kSign);
    sums[3 * at] += std::uint64_t(kSign) * mark.tint.red;
    sums[3 * at + 1] += std::uint64_t(kSign) * mark.tint.green;
    sums[3 * at + 2] += std::uint64_t(kSign) * mark.tint.blue;
  }
};

// Hands each hit to a band writer's buffers.
template <class Entry>
struct BufferHit {
  PixelMapper mapper;
  BandWriter<Entry>* writer;
  std::size_t width;

  void operator()(FigurePoint q, NoMark) const {
    int px = 0;
    int py = 0;
    if (!mapper.pixelOf(q, px, py)) return;
    writer->add(std::size_t(py) * width + std::size_t(px), nullptr);
  }
  void operator()(FigurePoint q, const TintMark& mark) const {
    int px = 0;
    int py = 0;
    if (!mapper.pixelOf(q, px, py)) return;
    writer->add(std::size_t(py) * width + std::size_t(px), &mark.tint);
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

  // Plays segment k from its warm-up, handing its points to `plot`. False when cancelled.
  template <class Plot>
  bool playSegment(std::int64_t k, const Plot& plot) {
    SegmentRecord& record = records_[std::size_t(k)];
    ChaosRandom random;
    if (!orbit_.warmUp(k, random, record.start)) return false;
    record.end = record.start;
    const SegmentCut& cut = orbit_.cut();
    return orbit_.play(cut.first(k), cut.end(k), random, record.end, plot) == cut.end(k);
  }

  template <int kSign>
  CountHit<kSign> counterInto(HitGrid& grid) const {
    return {mapper_, grid.counts.data(), grid.colourSums.data(), std::size_t(grid.width)};
  }
  template <class Entry>
  BufferHit<Entry> bufferInto(BandWriter<Entry>& writer) const {
    return {mapper_, &writer, std::size_t(grid_.width)};
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
        if (orbit_.replay(k, wrong, counterInto<-1>(grid_)) != end) return false;
        record.start = trueEnd;
        record.end = trueEnd;
        if (orbit_.replay(k, record.end, counterInto<1>(grid_)) != end) return false;
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

  HitGrid& grid_;
  const MapChoice choice_;
  const MapGuide guide_;
  const std::array<ScaledMap, kMapSlots> maps_;
  const Orbit orbit_;
  const PixelMapper mapper_;
  std::vector<SegmentRecord> records_;  // each written by the thread that plays its segment
};

// Private planes for the writers besides the first (which counts into the grid itself), when
// each is at most kPlaneMostBytes and all together at most kPlanesBudgetBytes; bands beyond. A
// lone writer counts straight into grids up to kPlaneMostBytes.
constexpr std::size_t kPlaneMostBytes = std::size_t{64} << 20;
constexpr std::size_t kPlanesBudgetBytes = std::size_t{256} << 20;
// A band holds about 256 KiB of counts and sums: a flush of a full buffer then touches most of
// the band's cache lines, some more than once, and no more pages than the address translation
// cache holds. (Against 1 MiB bands with 1024-hit buffers: 11 % less CPU on one thread, 10 to
// 20 % more points per second on two, in alternating runs of quillmere_count_bench on 16384².)
constexpr std::size_t kBandBytes = std::size_t{1} << 18;
// Hits a band's buffer holds before it is added to the band (16 KiB of each writer per band of a
// density picture), fewer where the buffers of all writers would pass kBandBuffersBytes (a
// seventh of that by map, whose counts fill the memory budget sooner), but never fewer than
// kLeastBandBufferHits.
constexpr std::size_t kBandBufferHits = 4096;
constexpr std::size_t kLeastBandBufferHits = 64;
constexpr std::size_t kBandBuffersBytes = std::size_t{128} << 20;

HitTally chooseTally(const HitGrid& grid, int writers) {
  const std::size_t cellBytes = grid.colourSums.empty() ? 4 : 28;
  const std::size_t planeBytes = grid.counts.size() * cellBytes;
  if (planeBytes > kPlaneMostBytes) return HitTally::Bands;
  return std::size_t(writers - 1) * planeBytes <= kPlanesBudgetBytes ? HitTally::PrivatePlanes
                                                                     : HitTally::Bands;
}

template <class Mark>
bool countInPlanes(HitCounter<Mark>& counter, HitGrid& grid, const SegmentCut& cut, int writers,
                   const RenderControl& control) {
  std::vector<HitGrid> planes(std::size_t(writers - 1));
  for (HitGrid& plane : planes) {
    plane.width = grid.width;
    plane.height = grid.height;
    plane.counts.assign(grid.counts.size(), 0);
    plane.colourSums.assign(grid.colourSums.size(), 0);
  }
  WriterPool pool(writers);
  const bool played = runTasks(
      cut.count(), writers, control,
      [&](std::int64_t k) {
        const int writer = pool.take();
        HitGrid& plane = writer == 0 ? grid : planes[std::size_t(writer - 1)];
        const bool done = counter.playSegment(k, counter.template counterInto<1>(plane));
        pool.give(writer);
        return done;
      },
      [&cut](std::int64_t k) { return cut.end(k) - cut.first(k); });
  if (!played) return false;
  for (const HitGrid& plane : planes) {  // in order; sums of integers in any case
    if (control.cancelled()) return false;
    for (std::size_t i = 0; i < grid.counts.size(); ++i) grid.counts[i] += plane.counts[i];
    for (std::size_t i = 0; i < grid.colourSums.size(); ++i) {
      grid.colourSums[i] += plane.colourSums[i];
    }
  }
  return !control.cancelled();
}

template <class Mark, class Entry>
bool countInBands(HitCounter<Mark>& counter, HitGrid& grid, const SegmentCut& cut, int writers,
                  const RenderControl& control, bool small) {
  const std::size_t cellBytes = grid.colourSums.empty() ? 4 : 28;
  const int bandShift = small ? 10 : std::bit_width(kBandBytes / cellBytes) - 1;
  std::vector<std::mutex> locks(((grid.counts.size() - 1) >> bandShift) + 1);
  const std::size_t capacity =
      small ? 61
            : std::clamp(kBandBuffersBytes / (cellBytes / 4) /
                             (std::size_t(writers) * locks.size() * sizeof(Entry)),
                         kLeastBandBufferHits, kBandBufferHits);
  std::vector<BandWriter<Entry>> bands;
  bands.reserve(std::size_t(writers));
  for (int w = 0; w < writers; ++w) bands.emplace_back(grid, bandShift, locks, capacity);
  WriterPool pool(writers);
  const bool played = runTasks(
      cut.count(), writers, control,
      [&](std::int64_t k) {
        const int writer = pool.take();
        const bool done = counter.playSegment(k, counter.bufferInto(bands[std::size_t(writer)]));
        pool.give(writer);
        return done;
      },
      [&cut](std::int64_t k) { return cut.end(k) - cut.first(k); });
  if (!played) return false;
  for (BandWriter<Entry>& band : bands) band.flushAll();
  return true;
}

template <class Mark>
bool countSegments(HitGrid& grid, const DrawingState& drawing, const ChaosRandom& random, Mark mark,
                   const RenderControl& control, const SegmentCut& cut, int threads,
                   HitTally tally) {
  HitCounter<Mark> counter(grid, drawing, random, mark, control, cut);
  const int writers = cut.count() > 1 ? threads : 1;
  if (tally == HitTally::Automatic) tally = chooseTally(grid, writers);
  using Entry = std::conditional_t<std::is_same_v<Mark, NoMark>, BandHit, TintedBandHit>;
  const bool counted = tally == HitTally::PrivatePlanes
                           ? countInPlanes(counter, grid, cut, writers, control)
                           : countInBands<Mark, Entry>(counter, grid, cut, writers, control,
                                                       tally == HitTally::SmallBands);
  return counted && counter.mendSegments();
}

}  // namespace

Result<HitGrid> countHits(int width, int height, const DrawingState& drawing,
                          const ChaosRandom& random, const std::array<Tint, kMapSlots>* mapTints,
                          const RenderControl& control, const SegmentSettings& settings,
                          HitTally tally) {
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
  if (pixels == 0 || steps <= 0 || MapChoice(drawing.maps).mapCount() == 0) return grid;

  const int threads = control.threads > 0 ? control.threads : defaultDrawingThreads();
  // Played as one orbit: a single segment from the true start.
  const SegmentCut cut =
      cutChaosGame(drawing.maps, steps, threads, settings).value_or(SegmentCut{steps, steps, 0});
  bool counted = false;
  try {  // the threads' planes and buffers
    counted = mapTints != nullptr
                  ? countSegments(grid, drawing, random, TintMark{(*mapTints)[1], mapTints->data()},
                                  control, cut, threads, tally)
                  : countSegments(grid, drawing, random, NoMark{}, control, cut, threads, tally);
  } catch (const std::bad_alloc&) {
    return Failure{kNoMemoryMessage};
  }
  if (!counted) return Failure{kPictureCancelledMessage};
  return grid;
}

}  // namespace quill
