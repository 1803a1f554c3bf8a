#include "core/collage/distance_transform.h"

#include <cstddef>
#include <cstdlib>

namespace quill {

void DistanceTransform::run(const std::uint8_t* cells, int stride, const CellWindow& window,
                            std::int32_t* squared, std::int32_t* nearest) {
  if (window.empty()) return;
  const int w = window.width;
  const int h = window.height;
  rowOf_.resize(std::size_t(w) * std::size_t(h));
  lastRow_.assign(std::size_t(w), -1);
  auto cell = [&](int i, int j) {
    return cells[std::size_t(window.y + j) * std::size_t(stride) + std::size_t(window.x + i)];
  };

  // Columns: the nearest set row above (downward sweep), then below (upward sweep); rows go
  // along memory, so both sweeps read the raster in order.
  for (int j = 0; j < h; ++j) {
    std::int32_t* rowOf = &rowOf_[std::size_t(j) * std::size_t(w)];
    for (int i = 0; i < w; ++i) {
      if (cell(i, j)) lastRow_[std::size_t(i)] = j;
      rowOf[i] = lastRow_[std::size_t(i)];
    }
  }
  lastRow_.assign(std::size_t(w), -1);
  for (int j = h - 1; j >= 0; --j) {
    std::int32_t* rowOf = &rowOf_[std::size_t(j) * std::size_t(w)];
    for (int i = 0; i < w; ++i) {
      if (cell(i, j)) lastRow_[std::size_t(i)] = j;
      const std::int32_t below = lastRow_[std::size_t(i)];
      if (below >= 0 && (rowOf[i] < 0 || below - j < j - rowOf[i])) rowOf[i] = below;
    }
  }

  // Rows: D(i) = min over columns q of (i − q)² + g(q)², g(q) the column distance found above.
  apex_.resize(std::size_t(w));
  start_.resize(std::size_t(w) + 1);
  for (int j = 0; j < h; ++j) {
    const std::int32_t* rowOf = &rowOf_[std::size_t(j) * std::size_t(w)];
    auto height = [&](int q) {
      const double g = rowOf[q] - j;
      return g * g;
    };
    int k = -1;  // the last parabola of the envelope
    for (int q = 0; q < w; ++q) {
      if (rowOf[q] < 0) continue;
      const double fq = height(q) + double(q) * q;
      double s = 0;
      // Drop the parabolas the new one lies below from where they would begin. Breakpoints are
      // quotients of integers below 2^53, each rounded correctly: equal ones round alike, and
      // distinct ones differ (by 1/denominators², denominators below 2^13) far beyond a rounding,
      // so every comparison comes out as in exact arithmetic.
      while (k >= 0) {
        const int v = apex_[std::size_t(k)];
        s = (fq - (height(v) + double(v) * v)) / (2.0 * (q - v));
        if (s > start_[std::size_t(k)]) break;
        --k;
      }
      ++k;
      apex_[std::size_t(k)] = q;
      start_[std::size_t(k)] = k == 0 ? -1e300 : s;
    }
    std::int32_t* outRow = squared + std::size_t(window.y + j) * std::size_t(stride) + window.x;
    std::int32_t* nearRow =
        nearest ? nearest + std::size_t(window.y + j) * std::size_t(stride) + window.x : nullptr;
    if (k < 0) {
      for (int i = 0; i < w; ++i) {
        outRow[i] = kNone;
        if (nearRow) nearRow[i] = -1;
      }
      continue;
    }
    const int last = k;
    k = 0;
    for (int i = 0; i < w; ++i) {
      while (k < last && start_[std::size_t(k) + 1] < i) ++k;
      const int q = apex_[std::size_t(k)];
      const std::int64_t dx = i - q;
      const std::int64_t dy = rowOf[q] - j;
      outRow[i] = std::int32_t(dx * dx + dy * dy);
      if (nearRow) nearRow[i] = (window.y + rowOf[q]) * stride + window.x + q;
    }
  }
}

}  // namespace quill
