#include "core/panel/read_grid.h"

#include "core/document/document.h"
#include "core/maps/number_text.h"

namespace quill {

Status readGrid(Document& document) {
  MapTable& maps = document.drawing.maps;
  const PanelState& state = document.state;
  maps.mapCount = kMaxMaps;
  maps.clear();

  // Only the a column decides how many maps there are: the first empty a field ends the list,
  // whatever the rows below it hold.
  for (int i = 1; i <= kMaxMaps; ++i) {
    if (state.cell(i, kColA).isEmpty()) {
      maps.mapCount = i - 1;
      break;
    }
  }

  std::array<double*, kColumnCount> columns = {maps.mapA.data(), maps.mapB.data(), maps.mapC.data(),
                                               maps.mapD.data(), maps.mapE.data(), maps.mapF.data(),
                                               maps.mapP.data()};
  for (int i = 1; i <= maps.mapCount; ++i) {
    // Within a row, an empty field is reported before a value that is not a number. Rows above
    // a failing row stay converted; the callers stop on false and never use the table.
    for (int column = 0; column < kColumnCount; ++column) {
      if (state.cell(i, column).isEmpty()) {
        return Failure{kEmptyFieldMessage};
      }
    }
    std::array<double, kColumnCount> values{};
    for (int column = 0; column < kColumnCount; ++column) {
      // A text too large for a double ("1e999") is refused too: an infinite coefficient would
      // only draw nonsense.
      const std::optional<double> value = parseNumber(state.cell(i, column));
      if (!value) {
        return Failure{kInvalidValueMessage};
      }
      values[column] = *value;
    }
    for (int column = 0; column < kColumnCount; ++column) columns[column][i] = values[column];

    // A map of probability 0 gets a cumulative 0 so that the chaos game never chooses it; the
    // running sum of the rows below still starts from this 0.
    maps.mapCumP[i] = maps.mapCumP[i - 1] + maps.mapP[i];
    if (maps.mapP[i] == 0) maps.mapCumP[i] = 0;
  }
  return {};
}

}  // namespace quill
