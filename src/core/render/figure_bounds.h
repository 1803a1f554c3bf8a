#pragma once

#include <array>
#include <span>

#include "core/render/affine_map.h"
#include "core/render/figure_recursion.h"
#include "core/render/view.h"

namespace quill {

// Why the fast fractal's pruning is exact, and why each tolerance below suffices:
// docs/exact_fractal.md.

// A computed bound made of a few dozen roundings (at most about 1e-14 of its size) is rounded up
// by this share of itself: a hundred times more than it can be off.
inline constexpr double kRoundUpShare = 1e-12;

// A 2 × 2 matrix [[a11, a12], [a21, a22]].
struct Linear {
  double a11 = 1;
  double a12 = 0;
  double a21 = 0;
  double a22 = 1;

  Linear operator*(const Linear& m) const {
    return {a11 * m.a11 + a12 * m.a21, a11 * m.a12 + a12 * m.a22, a21 * m.a11 + a22 * m.a21,
            a21 * m.a12 + a22 * m.a22};
  }
  FigurePoint operator*(FigurePoint p) const {
    return {a11 * p.x + a12 * p.y, a21 * p.x + a22 * p.y};
  }
};

inline Linear linearPart(const ScaledMap& map) { return {map.a, map.b, map.c, map.d}; }

// The composed map W(p) = a·p + t of the maps a recursion applied last, starting from the
// identity.
struct ComposedMap {
  Linear a;
  FigurePoint t;

  FigurePoint apply(FigurePoint p) const {
    const FigurePoint q = a * p;
    return {q.x + t.x, q.y + t.y};
  }
  // W ∘ first: `first` applied before this.
  ComposedMap after(const ScaledMap& first) const {
    const FigurePoint s = a * FigurePoint{first.e, first.f};
    return {a * linearPart(first), {s.x + t.x, s.y + t.y}};
  }
};

// The largest singular value: how much the matrix stretches at most. Rounded up by kRoundUpShare,
// so a map that shrinks only just is not taken for one that shrinks more.
double stretchOf(const Linear& m);

// Where the figures made by r maps can lie, for every r up to the deepest drawing: every point of
// every figure w(i_r) ∘ … ∘ w(i_1)(base), the lines between them included, lies in all of
//  - the ellipse centre + shape·u, |u| ≤ radius[r] (a disc in coordinates u where every map
//    shrinks: shape is the identity when the maps shrink as they stand, and stretches one axis
//    when a map shrinks only after another, a quarter turn that squeezes one axis, say), and
//  - the axis-parallel box boxCentre[r] ± boxHalf[r].
// So the figures below a node of the recursion, W ∘ (figures of r maps) for the node's composed
// map W of the maps applied last, lie in W's images of all of them.
//
// The bounds shrink (or grow) from the base's towards those of the attractor, as the maps pull
// the base in: |S⁻¹(w(x) − c)| ≤ stretch(S⁻¹AS)·|S⁻¹(x − c)| + |S⁻¹(w(c) − c)| for
// w(x) = Ax + t, S the shape, and a level's box holds the maps' images of the level before.
// `contractive` is false when no coordinates make every map shrink (a map that does not
// shrink): nothing may then be pruned.
struct FigureBounds {
  bool contractive = false;
  FigurePoint centre;
  Linear shape;
  Linear back;  // the inverse of shape
  std::array<double, kFigureLevels> radius{};
  std::array<FigurePoint, kFigureLevels> boxCentre{};
  std::array<FigurePoint, kFigureLevels> boxHalf{};
  // Twips to widen every bound by: covers the rounding of the figures' points, of the bounds and
  // of the composed maps, a thousand times over (kRoundingShare in figure_bounds.cpp).
  double margin = 0;
};

// The bounds for `maps` (the maps in use) and the points of the base figure (twips).
FigureBounds figureBounds(std::span<const ScaledMap> maps, std::span<const FigurePoint> base);

}  // namespace quill
