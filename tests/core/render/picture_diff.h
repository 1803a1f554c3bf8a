#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QString>
#include <cstdint>
#include <vector>

#include "core/canvas/canvas.h"
#include "core/maps/pattern_catalogue.h"
#include "core/params/param_file.h"
#include "render_fixtures.h"

namespace quill::testing {

// The canvas's ink, every pixel as stored.
inline std::vector<std::uint32_t> inkOf(Canvas& canvas) {
  std::vector<std::uint32_t> ink;
  ink.reserve(std::size_t(canvas.widthPixels()) * std::size_t(canvas.heightPixels()));
  for (int y = 0; y < canvas.heightPixels(); ++y) {
    const std::uint32_t* line = canvas.inkScanLine(y);
    ink.insert(ink.end(), line, line + canvas.widthPixels());
  }
  return ink;
}

// Passes when two canvases hold the same ink; otherwise says how many pixels differ and where
// the first one is.
inline ::testing::AssertionResult sameInk(Canvas& expected, Canvas& actual) {
  if (expected.widthPixels() != actual.widthPixels() ||
      expected.heightPixels() != actual.heightPixels()) {
    return ::testing::AssertionFailure() << "the canvases differ in size";
  }
  const std::vector<std::uint32_t> a = inkOf(expected);
  const std::vector<std::uint32_t> b = inkOf(actual);
  std::size_t differing = 0;
  std::size_t first = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i] && differing++ == 0) first = i;
  }
  if (differing == 0) return ::testing::AssertionSuccess();
  const int w = expected.widthPixels();
  return ::testing::AssertionFailure()
         << differing << " pixels differ, the first at (" << first % std::size_t(w) << ", "
         << first / std::size_t(w) << "): expected " << std::hex << a[first] << ", got "
         << b[first];
}

inline std::size_t inkedPixels(Canvas& canvas) {
  std::size_t count = 0;
  for (std::uint32_t v : inkOf(canvas)) count += v != 0;
  return count;
}

// The maps of a preset file, as rows of the table (none when the file cannot be read).
inline std::vector<MapRow> presetRows(int pattern) {
  const PatternEntry& entry = kPatterns[std::size_t(pattern)];
  const Result<FileRows> read = readPresetFile(
      QDir(QStringLiteral(QUILLMERE_PRESET_DIR)).filePath(entry.fileName), entry.mapCount);
  std::vector<MapRow> rows;
  if (!read) return rows;
  for (const FileRow& r : *read) {
    rows.push_back({r[0].number, r[1].number, r[2].number, r[3].number, r[4].number, r[5].number,
                    r[6].number});
  }
  return rows;
}

// Ten maps of different sizes, turns and probabilities, none of them special.
inline const std::vector<MapRow> kTenMaps = {
    {0.30, 0.05, -0.04, 0.31, 0.00, 0.00, 0.10}, {0.28, -0.10, 0.10, 0.28, 0.35, 0.02, 0.12},
    {0.25, 0.00, 0.00, 0.25, 0.70, 0.05, 0.08},  {-0.22, 0.12, 0.12, 0.22, 0.95, 0.30, 0.09},
    {0.31, 0.02, 0.00, -0.29, 0.05, 0.62, 0.11}, {0.20, -0.21, 0.21, 0.20, 0.45, 0.40, 0.07},
    {0.27, 0.00, 0.05, 0.27, 0.72, 0.68, 0.13},  {0.18, 0.18, -0.18, 0.18, 0.30, 0.80, 0.06},
    {0.33, -0.03, 0.03, 0.33, 0.55, 0.62, 0.14}, {0.24, 0.08, -0.08, 0.24, 0.12, 0.35, 0.10},
};

}  // namespace quill::testing
