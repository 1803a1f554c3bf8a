#pragma once

#include <QDir>
#include <QString>
#include <vector>

#include "core/maps/map_table.h"
#include "core/maps/pattern_catalogue.h"
#include "core/maps/weighted_map.h"
#include "core/params/param_file.h"

// Map tables written out for the tests and the benchmarks.
namespace quill::testing {

// Three half-size maps whose attractor is the Sierpinski gasket over (0, 0), (1, 0), (0.5, 1).
inline constexpr WeightedMap kHalfMaps[3] = {{{0.5, 0, 0, 0.5, 0, 0}, 0.33},
                                             {{0.5, 0, 0, 0.5, 0.5, 0}, 0.33},
                                             {{0.5, 0, 0, 0.5, 0.25, 0.5}, 0.34}};

// The classic fern, moved into the unit square: x scaled by 1/10 about 0.5, y by 1/10.
inline const std::vector<WeightedMap> kUnitFern = {
    {{0, 0, 0, 0.16, 0.5, 0}, 0.01},
    {{0.85, 0.04, -0.04, 0.85, 0.075, 0.18}, 0.85},
    {{0.2, -0.26, 0.23, 0.22, 0.4, 0.045}, 0.07},
    {{-0.15, 0.28, 0.26, 0.24, 0.575, -0.086}, 0.07}};

// Ten maps of different sizes, turns and probabilities, none of them special.
inline const std::vector<WeightedMap> kTenMaps = {
    {{0.30, 0.05, -0.04, 0.31, 0.00, 0.00}, 0.10}, {{0.28, -0.10, 0.10, 0.28, 0.35, 0.02}, 0.12},
    {{0.25, 0.00, 0.00, 0.25, 0.70, 0.05}, 0.08},  {{-0.22, 0.12, 0.12, 0.22, 0.95, 0.30}, 0.09},
    {{0.31, 0.02, 0.00, -0.29, 0.05, 0.62}, 0.11}, {{0.20, -0.21, 0.21, 0.20, 0.45, 0.40}, 0.07},
    {{0.27, 0.00, 0.05, 0.27, 0.72, 0.68}, 0.13},  {{0.18, 0.18, -0.18, 0.18, 0.30, 0.80}, 0.06},
    {{0.33, -0.03, 0.03, 0.33, 0.55, 0.62}, 0.14}, {{0.24, 0.08, -0.08, 0.24, 0.12, 0.35}, 0.10},
};

// Writes `rows` into the table as rows 1, 2 …, with the running sums of p as the grid reading
// builds them, and sets mapCount.
inline void storeRows(MapTable& maps, const std::vector<WeightedMap>& rows) {
  int i = 0;
  for (const WeightedMap& row : rows) {
    ++i;
    maps.mapA[i] = row.map.a;
    maps.mapB[i] = row.map.b;
    maps.mapC[i] = row.map.c;
    maps.mapD[i] = row.map.d;
    maps.mapE[i] = row.map.e;
    maps.mapF[i] = row.map.f;
    maps.mapP[i] = row.p;
    maps.mapCumP[i] = row.p == 0 ? 0 : maps.mapCumP[i - 1] + row.p;
  }
  maps.mapCount = i;
}

// The maps of a preset file in the source tree, as rows of the table (none when the file cannot
// be read).
inline std::vector<WeightedMap> presetRows(int pattern) {
  const PatternEntry& entry = kPatterns[std::size_t(pattern)];
  const Result<FileRows> read = readPresetFile(
      QDir(QStringLiteral(QUILLMERE_PRESET_DIR)).filePath(entry.fileName), entry.mapCount);
  std::vector<WeightedMap> rows;
  if (!read) return rows;
  for (const FileRow& r : *read) {
    rows.push_back({{r[0].number, r[1].number, r[2].number, r[3].number, r[4].number, r[5].number},
                    r[6].number});
  }
  return rows;
}

}  // namespace quill::testing
