#include "core/document/dialogs.h"
#include "core/document/document.h"
#include "core/maps/number_text.h"

namespace quill {

bool Panel::ReadPanel() {
  MapTable& maps = module1_.maps;
  maps.mapCount = kMaxMaps;
  maps.clear();

  // Only the a column decides how many maps there are: the first empty a field ends the list,
  // whatever the rows below it hold.
  for (int i = 1; i <= kMaxMaps; ++i) {
    if (state_.cell(i, kColA).isEmpty()) {
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
      if (state_.cell(i, column).isEmpty()) {
        dialogs_.message(QStringLiteral("Required parameter value cannot be empty."));
        return false;
      }
    }
    std::array<double, kColumnCount> values{};
    for (int column = 0; column < kColumnCount; ++column) {
      // A text too large for a double ("1e999") is refused too: an infinite coefficient would
      // only draw nonsense.
      const std::optional<double> value = parseNumber(state_.cell(i, column));
      if (!value) {
        dialogs_.message(QStringLiteral("Invalid parameter value."));
        return false;
      }
      values[column] = *value;
    }
    for (int column = 0; column < kColumnCount; ++column) columns[column][i] = values[column];

    // A map of probability 0 gets a cumulative 0 so that the chaos game never chooses it; the
    // running sum of the rows below still starts from this 0.
    maps.mapCumP[i] = maps.mapCumP[i - 1] + maps.mapP[i];
    if (maps.mapP[i] == 0) maps.mapCumP[i] = 0;
  }
  return true;
}

}  // namespace quill
