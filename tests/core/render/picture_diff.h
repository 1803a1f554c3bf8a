#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <cstdint>
#include <vector>

#include "core/canvas/canvas.h"
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

}  // namespace quill::testing
