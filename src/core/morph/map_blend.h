#pragma once

#include "core/maps/weighted_map.h"
#include "core/morph/polar_split.h"

namespace quill {

// One map of a key as the morph moves it: its polar split, translation and share of p.
struct MorphState {
  PlaneMap map;
  PolarSplit split;
  double e = 0, f = 0, p = 0;
};

// The state of `map` when it is one of `copies` identical copies (p shared among them).
MorphState morphState(const WeightedMap& map, int copies);

// The map at u (0 to 1, eased already) between two states: the turn along the shorter arc, the
// stretch linearly in log space so that |det| moves geometrically from one key's to the other's
// and never leaves their range (linearly where a stretch is flat and has no logarithm), the
// translation and p linearly. A pair whose determinants have opposite signs cannot avoid a flat
// map: it is mirrored by diag(1, s), s running from one side to the other, flat at u = ½ only.
WeightedMap blendStates(const MorphState& from, const MorphState& to, double u);

// The same through four keys' states by Catmull-Rom at u between `from` and `to`; `before` and
// `after` shape the curve only (a neighbour of the other turn sign counts as its endpoint). p
// never falls below 0. A pair that turns over moves as blendStates moves it.
WeightedMap splineStates(const MorphState& before, const MorphState& from, const MorphState& to,
                         const MorphState& after, double u);

// The plain blend of the six coefficients: what a map turned by half a turn collapses under.
PlaneMap blendCoefficients(const PlaneMap& from, const PlaneMap& to, double u);

}  // namespace quill
