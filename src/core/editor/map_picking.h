#pragma once

#include <QPointF>
#include <optional>
#include <span>
#include <vector>

#include "core/editor/map_handles.h"

namespace quill {

// What a press may take hold of: map `index` (0-based) by `handle`.
struct Pick {
  int index = -1;
  Handle handle = Handle::Body;
  bool operator==(const Pick&) const = default;
};

// Everything under `point` (unit-square coordinates), best first: the handles within
// `grabRadius` pixels, nearest first (ties: the higher map number, then P0 before P1 and so on),
// then the maps whose parallelogram holds the point, smallest area first (ties: the higher
// number). Every map offers its corners; the `selected` map (or -1) also its edges, rotation and
// scale handles. A map without a shape (nullopt) offers nothing. A click takes the first; clicks
// again on the same spot go on down the list.
std::vector<Pick> pickCandidates(std::span<const std::optional<PlaneMap>> maps, int selected,
                                 QPointF point, double unitsPerPixel, double grabRadius);

}  // namespace quill
