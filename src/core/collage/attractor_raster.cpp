#include "core/collage/attractor_raster.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <mutex>
#include <vector>

#include "core/base/chaos_random.h"
#include "core/base/task_pool.h"
#include "core/collage/grid_map.h"
#include "core/maths/det_shares.h"

namespace quill {

namespace {

constexpr int kChoiceBits = 10;  // maps are picked by the top bits of a number, from a table
constexpr std::size_t kChoiceSize = std::size_t(1) << kChoiceBits;
constexpr std::size_t kMostMaps = 256;              // the table holds map numbers in a byte
constexpr double kRunOff = 1e9;                     // cells from the grid: the orbit restarts
constexpr std::uint64_t kBatch = 65536;             // points between two looks at the cancel flag
constexpr std::uint64_t kOrbitStride = 1ULL << 40;  // generator numbers set aside for each orbit

// What every orbit shares: the maps in grid coordinates, the choice table and the start.
struct Game {
  std::vector<GridMap> maps;
  std::array<std::uint8_t, kChoiceSize> choice{};
  double startColumn = 0, startRow = 0;
  int side = 0;
};

Game prepare(std::span<const PlaneMap> maps, const CollageGrid& grid) {
  Game game;
  game.side = grid.side();
  if (maps.size() > kMostMaps) maps = maps.first(kMostMaps);
  std::vector<double> dets;
  for (const PlaneMap& m : maps) {
    game.maps.push_back(gridMap(m, grid));
    dets.push_back(m.a * m.d - m.b * m.c);
  }
  // Entries of the table in proportion to the shares, every map at least one.
  const std::vector<double> shares = detShares(dets);
  std::vector<std::size_t> entries;
  std::size_t total = 0;
  for (const double share : shares) {
    entries.push_back(std::max<std::size_t>(1, std::size_t(share * kChoiceSize)));
    total += entries.back();
  }
  auto largest = [&] { return std::max_element(entries.begin(), entries.end()); };
  while (total > kChoiceSize) --*largest(), --total;
  *largest() += kChoiceSize - total;
  std::size_t slot = 0;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    for (std::size_t n = 0; n < entries[i]; ++n) game.choice[slot++] = std::uint8_t(i);
  }

  // The first map's fixed point lies on the attractor: (I − A) p = e.
  const PlaneMap& first = maps.front();
  const double det = (1 - first.a) * (1 - first.d) - first.b * first.c;
  double x = ((1 - first.d) * first.e + first.b * first.f) / det;
  double y = (first.c * first.e + (1 - first.a) * first.f) / det;
  if (!std::isfinite(x) || !std::isfinite(y)) x = y = 0.5;
  game.startColumn = grid.column(x);
  game.startRow = grid.row(y);
  return game;
}

struct OrbitResult {
  CellWindow window;
  double overshoot = 0;
  bool ranOff = false;
};

// Plays one orbit; `mark` sets a cell.
template <class Mark>
bool playOrbit(const Game& game, ChaosRandom random, std::uint64_t points, OrbitResult& result,
               const RenderControl& control, Mark mark) {
  const int side = game.side;
  double x = game.startColumn;
  double y = game.startRow;
  int iMin = side, iMax = -1, jMin = side, jMax = -1;
  double overshoot = 0;
  bool ranOff = false;
  std::uint64_t done = 0;
  bool finished = true;
  while (done < points) {
    if (control.cancelled()) {
      finished = false;
      break;
    }
    const std::uint64_t batch = std::min(kBatch, points - done);
    for (std::uint64_t n = 0; n < batch; ++n) {
      const GridMap& m = game.maps[game.choice[random.nextBits() >> (32 - kChoiceBits)]];
      const double nx = m.column(x, y);
      const double ny = m.row(x, y);
      if (!(std::abs(nx) < kRunOff && std::abs(ny) < kRunOff)) [[unlikely]] {
        x = game.startColumn;
        y = game.startRow;
        ranOff = true;
        continue;
      }
      x = nx;
      y = ny;
      int i = int(std::floor(x));
      int j = int(std::floor(y));
      if (unsigned(i) >= unsigned(side) || unsigned(j) >= unsigned(side)) [[unlikely]] {
        i = std::clamp(i, 0, side - 1);
        j = std::clamp(j, 0, side - 1);
        overshoot = std::max(overshoot, std::hypot(x - (i + 0.5), y - (j + 0.5)));
      }
      mark(std::size_t(j) * std::size_t(side) + std::size_t(i));
      iMin = std::min(iMin, i);
      iMax = std::max(iMax, i);
      jMin = std::min(jMin, j);
      jMax = std::max(jMax, j);
    }
    done += batch;
  }
  if (iMax >= 0) result.window = {iMin, jMin, iMax - iMin + 1, jMax - jMin + 1};
  result.overshoot = overshoot;
  result.ranOff = ranOff;
  return finished;
}

ChaosRandom orbitRandom(std::uint64_t seed, int orbit) {
  ChaosRandom random(seed);
  random.advance(kOrbitStride * std::uint64_t(orbit));
  return random;
}

std::uint64_t orbitPoints(std::uint64_t points, int orbit) {
  return points / kRasterOrbits + (std::uint64_t(orbit) < points % kRasterOrbits ? 1 : 0);
}

void merge(AttractorRaster& raster, const OrbitResult& orbit) {
  raster.window.include(orbit.window);
  raster.overshoot = std::max(raster.overshoot, orbit.overshoot);
  raster.ranOff = raster.ranOff || orbit.ranOff;
}

}  // namespace

AttractorRaster rasteriseAttractor(std::span<const PlaneMap> maps, const CollageGrid& grid,
                                   std::uint64_t points, std::uint64_t seed,
                                   const RenderControl& control) {
  AttractorRaster raster;
  raster.mask = CellMask(grid);
  if (maps.empty()) return raster;
  const Game game = prepare(maps, grid);
  std::array<OrbitResult, kRasterOrbits> orbits;
  std::uint8_t* cells = raster.mask.cells.data();
  // Orbits mark cells of one raster at once: each store is atomic, and every store writes 1, so
  // the raster is the same whatever the order.
  runTasks(kRasterOrbits, control.threads > 0 ? control.threads : defaultDrawingThreads(), control,
           [&](std::int64_t k) {
             return playOrbit(
                 game, orbitRandom(seed, int(k)), orbitPoints(points, int(k)),
                 orbits[std::size_t(k)], control, [cells](std::size_t index) {
                   std::atomic_ref<std::uint8_t>(cells[index]).store(1, std::memory_order_relaxed);
                 });
           });
  for (const OrbitResult& orbit : orbits) merge(raster, orbit);
  return raster;
}

void rasteriseAttractorInto(std::span<const PlaneMap> maps, std::uint64_t points,
                            std::uint64_t seed, AttractorRaster& raster) {
  const CollageGrid grid = raster.mask.grid;
  const CellWindow old = raster.window;
  for (int j = old.y; j < old.y + old.height; ++j) {
    std::fill_n(&raster.mask.at(old.x, j), old.width, std::uint8_t(0));
  }
  raster.window = {};
  raster.overshoot = 0;
  raster.ranOff = false;
  if (maps.empty()) return;
  const Game game = prepare(maps, grid);
  std::uint8_t* cells = raster.mask.cells.data();
  for (int k = 0; k < kRasterOrbits; ++k) {
    OrbitResult orbit;
    playOrbit(game, orbitRandom(seed, k), orbitPoints(points, k), orbit, RenderControl{},
              [cells](std::size_t index) { cells[index] = 1; });
    merge(raster, orbit);
  }
}

}  // namespace quill
