// Fuzzes reading the map grid into the map table.
//
// The input is the grid as text: one line per row (rows 1 to 10), fields a to p separated by
// '|'; missing rows and fields are empty. The outcome is checked against the rules written out
// plainly here: the first empty a field ends the maps, the first failing row in row order
// decides the one message (an empty field before a non-numeric one), and a grid that reads
// gives every map's numbers with the running sums of p, and 0 in every other slot.
#include <QString>
#include <QStringList>
#include <cmath>
#include <cstdint>
#include <optional>

#include "core/maps/number_text.h"
#include "core/maps/read_grid.h"
#include "fuzz_check.h"

namespace {

using namespace quill;

const QString kEmptyMessage = QStringLiteral("Required parameter value cannot be empty.");
const QString kInvalidMessage = QStringLiteral("Invalid parameter value.");

const std::array<double, kMapSlots>& columnOf(const MapTable& maps, int column) {
  const std::array<double, kMapSlots>* columns[] = {&maps.mapA, &maps.mapB, &maps.mapC, &maps.mapD,
                                                    &maps.mapE, &maps.mapF, &maps.mapP};
  return *columns[column];
}

struct Expected {
  int mapCount = 0;
  int failingRow = 0;  // 0: every row read
  QString message;
};

Expected expectedOutcome(const PanelState& state) {
  Expected expected;
  expected.mapCount = kMaxMaps;
  for (int i = 1; i <= kMaxMaps; ++i) {
    if (state.cell(i, kColA).isEmpty()) {
      expected.mapCount = i - 1;
      break;
    }
  }
  for (int i = 1; i <= expected.mapCount && expected.failingRow == 0; ++i) {
    bool empty = false;
    bool invalid = false;
    for (int column = 0; column < kColumnCount; ++column) {
      empty = empty || state.cell(i, column).isEmpty();
      invalid = invalid || !parseNumber(state.cell(i, column));
    }
    if (empty || invalid) {
      expected.failingRow = i;
      expected.message = empty ? kEmptyMessage : kInvalidMessage;
    }
  }
  return expected;
}

void checkRead(const PanelState& state) {
  const Expected expected = expectedOutcome(state);
  const Result<MapTable> read = readGrid(state);
  FUZZ_CHECK(read.ok() == (expected.failingRow == 0));
  if (!read) {
    FUZZ_CHECK(read.message() == expected.message);
    return;
  }
  const MapTable& maps = *read;
  FUZZ_CHECK(maps.mapCount == expected.mapCount);
  double cumulative = 0;
  for (int i = 0; i < kMapSlots; ++i) {
    const bool map = i >= 1 && i <= expected.mapCount;
    for (int column = 0; column < kColumnCount; ++column) {
      const double stored = columnOf(maps, column)[i];
      if (map) {
        const std::optional<double> value = parseNumber(state.cell(i, column));
        FUZZ_CHECK(value && stored == *value && std::isfinite(stored));
      } else {
        FUZZ_CHECK(stored == 0);
      }
    }
    if (map) {
      cumulative = maps.mapP[i] == 0 ? 0 : cumulative + maps.mapP[i];
      FUZZ_CHECK(maps.mapCumP[i] == cumulative);
    } else {
      FUZZ_CHECK(maps.mapCumP[i] == 0);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  PanelState state;
  const QStringList lines =
      QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)).split(u'\n');
  for (int row = 1; row <= kGridRows && row <= lines.size(); ++row) {
    const QStringList fields = lines[row - 1].split(u'|');
    for (int column = 0; column < kColumnCount && column < fields.size(); ++column) {
      state.cell(row, column) = fields[column];
    }
  }
  checkRead(state);
  return 0;
}
