#pragma once

#include <QPointF>
#include <optional>
#include <span>
#include <vector>

#include "core/editor/map_handles.h"

namespace quill {

// The square's grid that Ctrl snaps to, in units of the square's side.
inline constexpr double kSnapGrid = 0.05;
// Pixels within which Ctrl takes a corner of another map or of the square over the grid.
inline constexpr double kSnapRadius = 10;
// Shift turns the rotation handle in steps of this many degrees.
inline constexpr double kRotationStep = 15;

// `map` turned by `degrees` (counter-clockwise) about `centre`; a multiple of 90° gives the
// linear part exactly (a quarter turn swaps a to d about with their signs).
PlaneMap rotatedAbout(const PlaneMap& map, QPointF centre, double degrees);
// `map` scaled by `factor` about `pivot`.
PlaneMap scaledAbout(const PlaneMap& map, QPointF pivot, double factor);

// One moment of a drag: the map as it was at the press, what was taken hold of, and where the
// press and the pointer are now, in unit-square coordinates.
struct DragInput {
  PlaneMap start;
  Handle handle = Handle::Body;
  QPointF press;
  QPointF pointer;
  bool shift = false;  // the rotation in 15° steps
  bool ctrl = false;   // snapping; the scale handle scales about the opposite corner instead
  double unitsPerPixel = 1;
};

// The map the drag gives, and where it snapped. A snapped result is `exact`: it is written as it
// is, not rounded to the view. A quarter turn has an `exactLinearPart`: only e and f are rounded.
// A turn by Shift's steps has a `fineLinearPart`: a to d are rounded to ten decimals.
struct DragResult {
  PlaneMap map;
  std::optional<QPointF> snappedTo;
  bool exact = false;
  bool exactLinearPart = false;
  bool fineLinearPart = false;
};

// The drag's map. A corner or the body follows the pointer's way; with Ctrl the dragged corner
// (for the body, whichever of its four corners comes nearest one) takes a corner of `targets`
// within kSnapRadius pixels, or else the nearest point of the kSnapGrid grid. An edge shears
// along itself. Rotate turns about the centre by the angle the pointer turned (Shift: rounded to
// 15°); Scale scales about the centre by how much nearer or farther the pointer is than at the
// press (Ctrl: about the opposite corner P0).
DragResult dragResult(const DragInput& drag, std::span<const QPointF> targets);

// The corners Ctrl snaps to while map `dragged` moves: the other maps' four corners and the unit
// square's.
std::vector<QPointF> snapTargets(std::span<const std::optional<PlaneMap>> maps, int dragged);

}  // namespace quill
