#pragma once

#include <vector>

#include "core/maps/map_table.h"
#include "core/maths/maths_report.h"

namespace quill {

// The maps of a table the grid has been read into (rows 1 to mapCount), in the unit-square
// coordinates the table holds, with their p: what the maths report analyses.
inline std::vector<WeightedMap> weightedMaps(const MapTable& table) {
  std::vector<WeightedMap> maps;
  for (int i = 1; i <= table.mapCount && i <= kMaxMaps; ++i) {
    const auto at = [i](const std::array<double, kMapSlots>& column) {
      return column[std::size_t(i)];
    };
    maps.push_back({{at(table.mapA), at(table.mapB), at(table.mapC), at(table.mapD), at(table.mapE),
                     at(table.mapF)},
                    at(table.mapP)});
  }
  return maps;
}

}  // namespace quill
