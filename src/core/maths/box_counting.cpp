#include <algorithm>
#include <bit>
#include <cmath>
#include <vector>

#include "core/maps/map_picker.h"
#include "core/maths/maths_report.h"

namespace quill {

// Box counting. The chaos game's points are kept as the cells they fall in at one level k of the
// grid of squares of side 2^-k·L over the attractor's box (L its larger side, the box's low
// corner the grid's origin); coarser levels follow by halving cell coordinates, so each point
// costs one hash insertion, whatever the number of levels.
//
// Memory is bounded by a cap on the cells kept (steps / 32, within kMinCells and kMaxCells):
// the game starts at level kFinestLevel, and whenever the cells pass the cap the level drops
// until they fill at most half of it. A level that holds more than steps / 32 cells averages
// fewer than 32 points a box, beyond the fit's range below, so nothing the fit needs is lost
// (past some 7·10^7 steps the cap, not the points, ends the range).
//
// The fit's range. Counts at fine levels saturate: with few points per box, boxes that the
// attractor reaches go unvisited, and at the finest the count tends to the number of points. A
// level is fitted only when its boxes average at least kPointsPerBox points (count ≤ steps /
// kPointsPerBox); then even a box of a tenth of the average mass is missed with probability
// e^-6.4. The coarsest levels are left out until kFewestBoxes boxes are occupied, as the box's
// own outline, not the fractal, shapes counts of a few hundred boxes (the Koch curve's flat box
// adds 0.02 to its slope from 16 boxes on). At least three levels are fitted where there are
// three. The line is least squares of ln(count) against ln(1 / size).

namespace {

constexpr int kFinestLevel = 30;  // 2^30 cells a side; the cell's coordinates fit in 32 bits
constexpr std::int64_t kBatch = std::int64_t(1) << 16;  // points between checks of the cancel flag
constexpr std::int64_t kCellsPerStepsShare = 32;        // the cap is steps / this
constexpr std::size_t kMinCells = std::size_t(1) << 12;
constexpr std::size_t kMaxCells = std::size_t(1) << 21;  // 64 MiB of table, 16 of scratch
constexpr double kPointsPerBox = 64;
constexpr std::int64_t kFewestBoxes = 256;
constexpr std::uint64_t kEmpty = ~std::uint64_t(0);  // never a cell: x < 2^31

std::uint64_t cellKey(std::uint64_t x, std::uint64_t y) { return x << 32 | y; }
std::uint64_t coarser(std::uint64_t key) { return cellKey(key >> 33, (key & 0xffffffffu) >> 1); }
std::uint64_t unchanged(std::uint64_t key) { return key; }

// An open-addressing set of cells with linear probing, at most half full. It grows by doubling
// up to the size its cap needs, so a point allocates only on the few growths, and a set of few
// cells stays small enough for the processor's caches.
class CellSet {
 public:
  explicit CellSet(std::size_t cap) : cap_(cap) {
    keys_.reserve(cap + 1);
    resize(kMinCells);
  }

  void insert(std::uint64_t key) {
    if (2 * (size_ + 1) > slots_.size()) grow();
    std::size_t slot = std::size_t((key * 0x9E3779B97F4A7C15ull) >> shift_);
    const std::size_t mask = slots_.size() - 1;
    while (slots_[slot] != kEmpty) {
      if (slots_[slot] == key) return;
      slot = (slot + 1) & mask;
    }
    slots_[slot] = key;
    ++size_;
  }

  std::size_t size() const { return size_; }
  bool full() const { return size_ > cap_; }

  // The cells one level coarser.
  void coarsen() { rebuild(slots_.size(), coarser); }

  // A table no larger than the cells need, so that it stays in cache after coarsening.
  void shrink() { rebuild(std::max(kMinCells, std::bit_ceil(2 * size_ + 2)), unchanged); }

  // The occupied cells, sorted.
  std::vector<std::uint64_t> cells() const {
    std::vector<std::uint64_t> result;
    result.reserve(size_);
    for (std::uint64_t key : slots_) {
      if (key != kEmpty) result.push_back(key);
    }
    std::sort(result.begin(), result.end());
    return result;
  }

 private:
  void resize(std::size_t slotCount) {
    slots_.assign(slotCount, kEmpty);
    shift_ = 64 - std::countr_zero(slotCount);
    size_ = 0;
  }
  void grow() { rebuild(slots_.size() * 2, unchanged); }
  template <typename Change>
  void rebuild(std::size_t slotCount, Change change) {
    keys_.clear();
    for (std::uint64_t key : slots_) {
      if (key != kEmpty) keys_.push_back(change(key));
    }
    resize(slotCount);
    for (std::uint64_t key : keys_) insert(key);
  }

  std::size_t cap_;
  std::vector<std::uint64_t> slots_;
  int shift_ = 0;
  std::size_t size_ = 0;
  std::vector<std::uint64_t> keys_;  // scratch for rebuild()
};

// Least squares of ln(count) against k ln 2 over points[first..last].
void fitLine(BoxCounting& result) {
  const int n = result.fitLast - result.fitFirst + 1;
  double sx = 0, sy = 0, sxx = 0, sxy = 0;
  for (int k = result.fitFirst; k <= result.fitLast; ++k) {
    const double x = std::log(1 / result.points[std::size_t(k)].boxSize);
    const double y = std::log(double(result.points[std::size_t(k)].occupied));
    sx += x;
    sy += y;
    sxx += x * x;
    sxy += x * y;
  }
  const double spread = n * sxx - sx * sx;
  result.slope = n > 1 && spread > 0 ? (n * sxy - sx * sy) / spread : 0;
  result.intercept = (sy - result.slope * sx) / n;
}

}  // namespace

std::optional<BoxCounting> countBoxes(std::span<const WeightedMap> maps, std::int64_t steps,
                                      ChaosRandom random, const RenderControl& control) {
  if (maps.empty() || steps < 1) return std::nullopt;
  std::vector<PlaneMap> planeMaps;
  for (const WeightedMap& m : maps) planeMaps.push_back(m.map);
  const std::optional<Box> box = attractorBoxOf(planeMaps);
  if (!box) return std::nullopt;
  double side = std::max(box->xmax - box->xmin, box->ymax - box->ymin);
  if (!(side > 0) || !std::isfinite(std::ldexp(1.0, kFinestLevel) / side)) side = 1;

  const MapPicker picker(maps);
  // The game starts on the fixed point of a map it plays (the one the lowest bits pick), a point
  // of the attractor; the box's centre only if rounding made I − A look singular.
  double x = (box->xmin + box->xmax) / 2;
  double y = (box->ymin + box->ymax) / 2;
  if (const auto point = fixedPointOf(planeMaps[std::size_t(picker.scan(0))])) {
    x = (*point)[0];
    y = (*point)[1];
  }

  const std::size_t cap =
      std::clamp(std::size_t(steps / kCellsPerStepsShare), kMinCells, kMaxCells);
  CellSet cells(cap);
  int level = kFinestLevel;
  double cellsPerUnit = std::ldexp(1.0, level) / side;
  double lastCell = std::ldexp(1.0, level) - 1;
  const PlaneMap* map = planeMaps.data();
  for (std::int64_t done = 0; done < steps;) {
    if (control.cancelled()) return std::nullopt;
    const std::int64_t end = std::min(steps, done + kBatch);
    for (; done < end; ++done) {
      const PlaneMap& m = map[picker.pick(random.nextBits())];
      const double nx = m.a * x + m.b * y + m.e;
      y = m.c * x + m.d * y + m.f;
      x = nx;
      // Clamped: rounding may put a point a hair outside the box; `!(u > 0)` catches NaN.
      double u = (x - box->xmin) * cellsPerUnit;
      double v = (y - box->ymin) * cellsPerUnit;
      u = !(u > 0) ? 0 : std::min(u, lastCell);
      v = !(v > 0) ? 0 : std::min(v, lastCell);
      cells.insert(cellKey(std::uint64_t(u), std::uint64_t(v)));
      if (cells.full()) {
        while (cells.size() > cap / 2 && level > 0) {
          cells.coarsen();
          --level;
        }
        cells.shrink();
        cellsPerUnit = std::ldexp(1.0, level) / side;
        lastCell = std::ldexp(1.0, level) - 1;
      }
    }
    control.report(double(done) / double(steps));
  }

  BoxCounting result;
  result.steps = steps;
  result.points.resize(std::size_t(level) + 1);
  std::vector<std::uint64_t> keys = cells.cells();
  for (int k = level; k >= 0; --k) {
    result.points[std::size_t(k)] = {std::ldexp(1.0, -k), std::int64_t(keys.size())};
    for (std::uint64_t& key : keys) key = coarser(key);
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  }

  const double mostBoxes = double(steps) / kPointsPerBox;
  result.fitLast = 0;
  for (int k = 0; k <= level; ++k) {
    if (double(result.points[std::size_t(k)].occupied) <= mostBoxes) result.fitLast = k;
  }
  result.fitFirst = 0;
  while (result.fitFirst < result.fitLast &&
         result.points[std::size_t(result.fitFirst)].occupied < kFewestBoxes) {
    ++result.fitFirst;
  }
  if (result.points[std::size_t(result.fitFirst)].occupied < kFewestBoxes) result.fitFirst = 0;
  result.fitFirst = std::min(result.fitFirst, std::max(0, result.fitLast - 2));
  fitLine(result);
  return result;
}

}  // namespace quill
