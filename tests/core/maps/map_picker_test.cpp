#include "core/maps/map_picker.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "support/row_name.h"

namespace quill {
namespace {

constexpr std::uint32_t kFull = MapPicker::kRange;

struct PickerRow {
  std::string name;
  std::vector<double> p;
  std::vector<std::uint32_t> thresholds;  // in units of 2^-24; none: not worked out by hand
};
void PrintTo(const PickerRow& row, std::ostream* out) { *out << row.name; }

std::vector<WeightedMap> mapsOf(const std::vector<double>& p) {
  std::vector<WeightedMap> maps;
  for (const double each : p) maps.push_back({{}, each});
  return maps;
}

class MapPickerRows : public ::testing::TestWithParam<PickerRow> {};

// Each map gets the share of the 2^24 values of the top bits its weight gives (worked out by
// hand where the row says), and the lookup picks the map of the plain scan for every value,
// whatever the low bits.
TEST_P(MapPickerRows, GivesEachMapItsShareAndLooksUpTheMapTheScanFinds) {
  const PickerRow& row = GetParam();
  const MapPicker picker(mapsOf(row.p));
  ASSERT_EQ(picker.count(), int(row.p.size()));
  for (std::size_t j = 0; j < row.thresholds.size(); ++j) {
    EXPECT_EQ(picker.threshold(int(j)), row.thresholds[j]) << "map " << j;
  }
  int differing = 0;
  for (std::uint32_t k = 0; k < kFull; ++k) {
    const std::uint32_t r = k << 8;
    const int expected = picker.scan(r);
    differing += picker.pick(r) != expected;
    differing += picker.pick(r | 0xFF) != expected;
  }
  EXPECT_EQ(differing, 0);
}

constexpr double kLargest = std::numeric_limits<double>::max();

INSTANTIATE_TEST_SUITE_P(
    Weights, MapPickerRows,
    ::testing::Values(
        PickerRow{"weights", {1, 0, 3}, {kFull / 4, kFull / 4, kFull}},
        PickerRow{
            "negative and zero never picked", {-2, 0.5, 0, 0.5}, {0, kFull / 2, kFull / 2, kFull}},
        PickerRow{"none positive all alike",
                  {0, -1, std::nan("")},
                  {kFull / 3, 2 * kFull / 3 + 1, kFull}},
        PickerRow{"one map", {0.2}, {kFull}},
        PickerRow{"a zero last takes nothing", {0.5, 0.5, 0}, {kFull / 2, kFull, kFull}},
        PickerRow{"weights whose sum overflows", {1e308, 1e308}, {kFull / 2, kFull}},
        PickerRow{"an infinite p weighs as the largest double",
                  {INFINITY, kLargest, 0},
                  {kFull / 2, kFull, kFull}},
        PickerRow{"a share too small to round to a pick", {1, 1e-9}, {kFull, kFull}},
        PickerRow{"rare maps share buckets", {1e-6, 0.3, 2e-4, 3e-4, 0.5, 1e-7, 0.2}, {}},
        PickerRow{"ten tenths", std::vector<double>(10, 0.1), {}}),
    testing::RowName());

// Map numbers beyond 16 bits never come out: only the first kMostMaps maps are picked.
TEST(MapPicker, PicksOnlyAmongTheFirstMapsOfAHugeSystem) {
  const MapPicker picker(mapsOf(std::vector<double>(MapPicker::kMostMaps + 100, 1)));
  EXPECT_EQ(picker.count(), MapPicker::kMostMaps);
  EXPECT_EQ(picker.threshold(MapPicker::kMostMaps - 1), kFull);
  for (std::uint32_t k = 0; k < kFull; k += 4099) {
    const int j = picker.pick(k << 8);
    EXPECT_GE(j, 0);
    EXPECT_LT(j, MapPicker::kMostMaps);
    EXPECT_EQ(j, picker.scan(k << 8));
  }
  EXPECT_EQ(picker.pick(~0u), MapPicker::kMostMaps - 1);
}

}  // namespace
}  // namespace quill
