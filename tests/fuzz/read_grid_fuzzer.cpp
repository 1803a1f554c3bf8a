// Fuzzes reading the map grid into the map table.
//
// The input is the grid as text: one line per row (rows 1 to 10), fields a to p separated by
// '|'; missing rows and fields are empty. The outcome is checked against the rules written out
// plainly here: the first empty a field ends the maps, the first failing row in row order
// decides the one message (an empty field before a non-numeric one), rows above it stay
// converted, and nothing at or below it is applied.
#include <QString>
#include <QStringList>
#include <cmath>
#include <cstdint>
#include <optional>

#include "core/maps/number_text.h"
#include "core/panel/read_grid.h"
#include "fuzz_check.h"
#include "support/fakes.h"

namespace {

using namespace quill;

const QString kEmptyMessage = QStringLiteral("Required parameter value cannot be empty.");
const QString kInvalidMessage = QStringLiteral("Invalid parameter value.");
constexpr double kStale = 7.25;   // left in the table by an earlier read
constexpr double kSlot11 = -3.5;  // slot 11 is never a map and never touched

using Fixture = testing::PanelFixture;

std::array<double, kMapSlots>* columnOf(MapTable& maps, int column) {
  std::array<double, kMapSlots>* columns[] = {&maps.mapA, &maps.mapB, &maps.mapC, &maps.mapD,
                                              &maps.mapE, &maps.mapF, &maps.mapP};
  return columns[column];
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

void checkRead(Fixture& f) {
  MapTable& maps = f.drawing.maps;
  for (int column = 0; column < kColumnCount; ++column) {
    for (int i = 0; i < kMapSlots; ++i) (*columnOf(maps, column))[i] = i == 11 ? kSlot11 : kStale;
  }
  for (int i = 0; i < kMapSlots; ++i) maps.mapCumP[i] = i == 11 ? kSlot11 : kStale;
  maps.mapCount = 4;
  const auto gridBefore = f.state.grid;

  const Expected expected = expectedOutcome(f.state);
  const Status read = readGrid(f.document);
  const bool ok = read.ok();

  FUZZ_CHECK(f.state.grid == gridBefore);  // reading never edits the fields
  FUZZ_CHECK(ok == (expected.failingRow == 0));
  FUZZ_CHECK(maps.mapCount == expected.mapCount);
  FUZZ_CHECK(f.dialogs.messages.isEmpty());  // the command that reads the panel shows it
  if (!ok) FUZZ_CHECK(read.message() == expected.message);

  // Rows before the failing one (all rows when ok) are converted and summed.
  const int convertedRows = ok ? expected.mapCount : expected.failingRow - 1;
  double cumulative = 0;
  for (int i = 0; i < kMapSlots; ++i) {
    const bool converted = i >= 1 && i <= convertedRows;
    for (int column = 0; column < kColumnCount; ++column) {
      const double stored = (*columnOf(maps, column))[i];
      if (i == 11) {
        FUZZ_CHECK(stored == kSlot11);
      } else if (converted) {
        const std::optional<double> value = parseNumber(f.state.cell(i, column));
        FUZZ_CHECK(value && stored == *value && std::isfinite(stored));
      } else {
        FUZZ_CHECK(stored == 0);
      }
    }
    if (i == 11) {
      FUZZ_CHECK(maps.mapCumP[i] == kSlot11);
    } else if (converted) {
      cumulative = maps.mapP[i] == 0 ? 0 : cumulative + maps.mapP[i];
      FUZZ_CHECK(maps.mapCumP[i] == cumulative);
    } else {
      FUZZ_CHECK(maps.mapCumP[i] == 0);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Fixture* fixture = new Fixture;  // one panel for the whole run, as in the program
  Fixture& f = *fixture;
  f.state.clearGrid();
  const QStringList lines =
      QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)).split(u'\n');
  for (int row = 1; row <= kGridRows && row <= lines.size(); ++row) {
    const QStringList fields = lines[row - 1].split(u'|');
    for (int column = 0; column < kColumnCount && column < fields.size(); ++column) {
      f.state.cell(row, column) = fields[column];
    }
  }
  checkRead(f);
  checkRead(f);  // a second read of the same grid gives the same table
  return 0;
}
