#include "core/editor/map_picking.h"

#include <algorithm>
#include <cmath>

namespace quill {

std::vector<Pick> pickCandidates(std::span<const std::optional<PlaneMap>> maps, int selected,
                                 QPointF point, double unitsPerPixel, double grabRadius) {
  struct Near {
    Pick pick;
    double distance;  // pixels
  };
  std::vector<Near> handles;
  struct Inside {
    int index;
    double area;
  };
  std::vector<Inside> insides;
  for (int index = 0; index < int(maps.size()); ++index) {
    const std::optional<PlaneMap>& map = maps[std::size_t(index)];
    if (!map) continue;
    auto offer = [&](Handle handle) {
      const QPointF way = handlePoint(*map, handle, unitsPerPixel) - point;
      const double distance = std::hypot(way.x(), way.y()) / unitsPerPixel;
      if (distance <= grabRadius) handles.push_back({{index, handle}, distance});
    };
    for (Handle handle : kCornerHandles) offer(handle);
    if (index == selected) {
      for (Handle handle : kSelectedMapHandles) offer(handle);
    }
    if (parallelogramContains(*map, point)) insides.push_back({index, parallelogramArea(*map)});
  }
  std::stable_sort(handles.begin(), handles.end(), [](const Near& x, const Near& y) {
    if (x.distance != y.distance) return x.distance < y.distance;
    if (x.pick.index != y.pick.index) return x.pick.index > y.pick.index;
    return x.pick.handle < y.pick.handle;
  });
  std::stable_sort(insides.begin(), insides.end(), [](const Inside& x, const Inside& y) {
    if (x.area != y.area) return x.area < y.area;
    return x.index > y.index;
  });
  std::vector<Pick> picks;
  for (const Near& each : handles) picks.push_back(each.pick);
  for (const Inside& each : insides) picks.push_back({each.index, Handle::Body});
  return picks;
}

}  // namespace quill
