#pragma once

#include <span>

#include "render/affine_map.h"
#include "render/view.h"

namespace quill {

// The largest singular value of a map's linear part: how much it stretches at most. Rounded up a
// little, so a map that shrinks only just is not taken for one that shrinks more.
double stretchOf(const ScaledMap& map);

// A disc that every map sends into itself and that holds the base figure, so that every figure
// of every level lies inside it, and the figures below a node of the recursion inside the
// node's image of it. Only for maps that all shrink: `contractive` is false otherwise, and
// nothing may be pruned.
struct InvariantDisc {
  bool contractive = false;
  FigurePoint centre;
  double radius = 0;  // twips
  // Twips to widen every bound by: covers the rounding of the figures' points, of the disc and
  // of the composed maps, with a wide safety factor.
  double margin = 0;
};

// The disc for `maps` (the maps in use) and the points of the base figure (twips). The centre is
// chosen to make the radius small; the radius is at least |w(c) − c| / (1 − stretch(w)) for
// every map w, and covers every base point.
InvariantDisc invariantDisc(std::span<const ScaledMap> maps, std::span<const FigurePoint> base);

}  // namespace quill
