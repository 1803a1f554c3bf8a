#include "core/maps/read_grid.h"

#include <algorithm>
#include <array>

#include "core/maps/number_text.h"

namespace quill {

int gridMapCount(const PanelState& state) {
  for (int i = 1; i <= kMaxMaps; ++i) {
    if (state.cell(i, kColA).isEmpty()) return i - 1;
  }
  return kMaxMaps;
}

Result<WeightedMap> readGridRow(const PanelState& state, int row) {
  // Within a row, an empty field is reported before a value that is not a number.
  for (int column = 0; column < kColumnCount; ++column) {
    if (state.cell(row, column).isEmpty()) return Failure{kEmptyFieldMessage};
  }
  std::array<double, kColumnCount> values{};
  for (int column = 0; column < kColumnCount; ++column) {
    const std::optional<double> value = parseNumber(state.cell(row, column));
    if (!value) return Failure{kInvalidValueMessage};
    values[column] = *value;
  }
  return WeightedMap{
      {values[kColA], values[kColB], values[kColC], values[kColD], values[kColE], values[kColF]},
      values[kColP]};
}

MapTable mapTableOf(const std::vector<WeightedMap>& rows) {
  MapTable maps;
  maps.mapCount = int(std::min(rows.size(), std::size_t(kMaxMaps)));
  for (int i = 1; i <= maps.mapCount; ++i) {
    const WeightedMap& row = rows[std::size_t(i - 1)];
    maps.mapA[i] = row.map.a;
    maps.mapB[i] = row.map.b;
    maps.mapC[i] = row.map.c;
    maps.mapD[i] = row.map.d;
    maps.mapE[i] = row.map.e;
    maps.mapF[i] = row.map.f;
    maps.mapP[i] = row.p;
    // A map of probability 0 gets a cumulative 0 so that the chaos game never chooses it; the
    // running sum of the rows below still starts from this 0.
    maps.mapCumP[i] = maps.mapCumP[i - 1] + maps.mapP[i];
    if (maps.mapP[i] == 0) maps.mapCumP[i] = 0;
  }
  return maps;
}

Result<MapTable> readGrid(const PanelState& state) {
  std::vector<WeightedMap> rows;
  for (int i = 1; i <= gridMapCount(state); ++i) {
    Result<WeightedMap> row = readGridRow(state, i);
    if (!row) return Failure{row.message()};
    rows.push_back(*row);
  }
  return mapTableOf(rows);
}

}  // namespace quill
