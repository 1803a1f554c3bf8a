#pragma once

#include <cstdint>
#include <span>

#include "core/base/render_control.h"
#include "core/collage/collage_grid.h"
#include "core/maps/weighted_map.h"

namespace quill {

// The cells of a grid that an attractor visits.
struct AttractorRaster {
  CellMask mask;         // 1 where a point fell; a point off the grid marks the edge cell nearest
  CellWindow window;     // the smallest window holding every marked cell
  double overshoot = 0;  // the farthest a point fell off the grid, from its edge cell, in cells
  bool ranOff = false;   // an orbit left every bound (maps that do not contract) and restarted
};

// The orbits a raster is played in, each on its own stretch of the generator's sequence: the
// raster is the same however many threads play them.
inline constexpr int kRasterOrbits = 8;

// Plays the chaos game of `maps` for `points` points in all on `grid`, in kRasterOrbits orbits
// from the generator seeded with `seed`, on up to control.threads threads (0: one per core):
// the same raster for the same maps, grid, points and seed on any number of threads. Maps are
// picked in proportion to max(|det|, 0.01) whatever their p, which covers the attractor most
// evenly (the attractor does not depend on p). Each orbit starts at the first map's fixed point,
// a point of the attractor, so nothing needs to be skipped; an orbit that runs off (maps that do
// not contract) restarts there. Checks the cancel flag every 65536 points of each orbit and
// returns what was played when cancelled.
AttractorRaster rasteriseAttractor(std::span<const PlaneMap> maps, const CollageGrid& grid,
                                   std::uint64_t points, std::uint64_t seed,
                                   const RenderControl& control);

// The same into a raster the caller keeps (on `grid`, cleared here): the fit's inner loop plays
// thousands of small games without allocating. One thread.
void rasteriseAttractorInto(std::span<const PlaneMap> maps, std::uint64_t points,
                            std::uint64_t seed, AttractorRaster& raster);

}  // namespace quill
