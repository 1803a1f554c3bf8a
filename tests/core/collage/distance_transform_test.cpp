#include "core/collage/distance_transform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/base/chaos_random.h"
#include "support/row_name.h"

namespace quill {
namespace {

struct MaskRow {
  std::string name;
  int width, height;
  double density;  // share of cells set
  CellWindow window;
};

class DistanceTransformMatchesBruteForce : public ::testing::TestWithParam<MaskRow> {};

// Every cell of the window against every set cell of the window, and its nearest cell at that
// distance; the cells outside the window are left as they were.
TEST_P(DistanceTransformMatchesBruteForce, OnRandomMasks) {
  const MaskRow& row = GetParam();
  ChaosRandom random(std::hash<std::string>{}(row.name));
  for (int round = 0; round < 20; ++round) {
    std::vector<std::uint8_t> cells(std::size_t(row.width * row.height));
    for (std::uint8_t& cell : cells) cell = random.next() < row.density ? 1 + round % 3 : 0;
    std::vector<std::int32_t> squared(cells.size(), -7);
    std::vector<std::int32_t> nearest(cells.size(), -7);
    DistanceTransform transform;
    transform.run(cells.data(), row.width, row.window, squared.data(), nearest.data());

    const CellWindow& w = row.window;
    for (int j = 0; j < row.height; ++j) {
      for (int i = 0; i < row.width; ++i) {
        const std::size_t index = std::size_t(j * row.width + i);
        const bool inside = i >= w.x && i < w.x + w.width && j >= w.y && j < w.y + w.height;
        if (!inside) {
          ASSERT_EQ(squared[index], -7);
          ASSERT_EQ(nearest[index], -7);
          continue;
        }
        std::int32_t best = DistanceTransform::kNone;
        for (int q = w.y; q < w.y + w.height; ++q) {
          for (int p = w.x; p < w.x + w.width; ++p) {
            if (!cells[std::size_t(q * row.width + p)]) continue;
            best = std::min(best, (p - i) * (p - i) + (q - j) * (q - j));
          }
        }
        ASSERT_EQ(squared[index], best) << "cell " << i << ", " << j << " round " << round;
        if (best == DistanceTransform::kNone) {
          ASSERT_EQ(nearest[index], -1);
          continue;
        }
        const int p = nearest[index] % row.width;
        const int q = nearest[index] / row.width;
        ASSERT_TRUE(cells[std::size_t(nearest[index])]);
        ASSERT_EQ((p - i) * (p - i) + (q - j) * (q - j), best);
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Masks, DistanceTransformMatchesBruteForce,
    ::testing::Values(MaskRow{"sparse square", 40, 40, 0.01, {0, 0, 40, 40}},
                      MaskRow{"half full square", 33, 33, 0.5, {0, 0, 33, 33}},
                      MaskRow{"one cell in a hundred wide", 61, 17, 0.004, {0, 0, 61, 17}},
                      MaskRow{"tall and narrow", 3, 70, 0.05, {0, 0, 3, 70}},
                      MaskRow{"one row", 90, 1, 0.03, {0, 0, 90, 1}},
                      MaskRow{"one column", 1, 90, 0.03, {0, 0, 1, 90}},
                      MaskRow{"empty", 20, 20, 0, {0, 0, 20, 20}},
                      MaskRow{"all set", 20, 20, 1, {0, 0, 20, 20}},
                      MaskRow{"a window inside a larger raster", 50, 45, 0.02, {7, 11, 30, 25}}),
    testing::RowName{});

}  // namespace
}  // namespace quill
