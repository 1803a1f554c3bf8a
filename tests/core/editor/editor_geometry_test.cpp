// The editor's geometry against values worked by hand: what a press picks, what each gesture
// makes of a map, and how a drag's values are rounded to the view.

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "core/editor/editor_framing.h"
#include "core/editor/map_gestures.h"
#include "core/editor/map_picking.h"
#include "core/editor/view_rounding.h"
#include "core/maps/pattern_catalogue.h"
#include "support/map_rows.h"
#include "support/row_name.h"

namespace quill {
namespace {

constexpr double kPixel = 1.0 / 500;  // units per pixel: the square 500 pixels across
constexpr PlaneMap kHalf{0.5, 0, 0, 0.5, 0, 0};

std::vector<std::optional<PlaneMap>> shapesOf(const std::vector<WeightedMap>& rows) {
  std::vector<std::optional<PlaneMap>> shapes;
  for (const WeightedMap& row : rows) shapes.push_back(row.map);
  return shapes;
}

struct PickRow {
  const char* name;
  std::vector<std::optional<PlaneMap>> maps;
  int selected;
  QPointF point;
  std::vector<Pick> expected;
};

void PrintTo(const PickRow& row, std::ostream* out) { *out << row.name; }

class Picking : public ::testing::TestWithParam<PickRow> {};

TEST_P(Picking, OffersHandlesNearestFirstThenTheSmallestParallelogram) {
  const PickRow& row = GetParam();
  EXPECT_EQ(pickCandidates(row.maps, row.selected, row.point, kPixel, 7), row.expected);
}

const std::vector<std::optional<PlaneMap>> kFern = shapesOf(testing::presetRows(kFernPattern));
const std::vector<std::optional<PlaneMap>> kSierpinski =
    shapesOf(testing::presetRows(kSierpinskiPattern));

INSTANTIATE_TEST_SUITE_P(
    Points, Picking,
    ::testing::Values(
        // The centre of the fern's map 3, inside the selected map 2 too: map 3 is smaller.
        PickRow{"inside_two_maps_the_smaller", kFern, 1, {0.353876, 0.280637}, {{2}, {1}}},
        // Map 1's P1 is its P0 (a = c = 0): both are offered, P0 first.
        PickRow{"flat_map_p1_under_p0",
                kFern,
                -1,
                {0.476595, 0.0084},
                {{0, Handle::P0}, {0, Handle::P1}}},
        // Maps 1 and 2 meet at (0.5, 0): the higher number first, corners before insides.
        PickRow{"shared_corner_the_higher_number",
                kSierpinski,
                0,
                {0.5, 0},
                {{1, Handle::P0}, {0, Handle::P1}, {1}, {0}}},
        PickRow{"rotation_handle_of_the_selected_map",
                {kHalf},
                0,
                {0.25, 0.5 + kRotateReach* kPixel},
                {{0, Handle::Rotate}}},
        PickRow{"no_rotation_handle_unselected", {kHalf}, -1, {0.25, 0.5 + 24 * kPixel}, {}},
        PickRow{"empty_space", kSierpinski, -1, {0.9, 0.9}, {}}),
    testing::RowName());

struct GestureRow {
  const char* name;
  DragInput drag;
  std::vector<QPointF> targets;
  PlaneMap expected;
  std::optional<QPointF> snappedTo;
};

void PrintTo(const GestureRow& row, std::ostream* out) { *out << row.name; }

class Gestures : public ::testing::TestWithParam<GestureRow> {};

TEST_P(Gestures, GiveTheMapWorkedByHand) {
  const GestureRow& row = GetParam();
  const DragResult result = dragResult(row.drag, row.targets);
  const PlaneMap& m = result.map;
  const PlaneMap& x = row.expected;
  EXPECT_NEAR(m.a, x.a, 1e-15);
  EXPECT_NEAR(m.b, x.b, 1e-15);
  EXPECT_NEAR(m.c, x.c, 1e-15);
  EXPECT_NEAR(m.d, x.d, 1e-15);
  EXPECT_NEAR(m.e, x.e, 1e-15);
  EXPECT_NEAR(m.f, x.f, 1e-15);
  EXPECT_EQ(result.snappedTo, row.snappedTo);
}

DragInput input(PlaneMap start, Handle handle, QPointF press, QPointF pointer, bool shift = false,
                bool ctrl = false) {
  return {start, handle, press, pointer, shift, ctrl, kPixel};
}

const std::vector<QPointF> kSquareCorners = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};

INSTANTIATE_TEST_SUITE_P(
    Handles, Gestures,
    ::testing::Values(
        // About the centre (0.25, 0.25): from straight up to nearly straight left, 86.5°.
        GestureRow{"shift_rotation_a_quarter_turn",
                   input(kHalf, Handle::Rotate, {0.25, 0.6}, {-0.08, 0.27}, true),
                   {},
                   {0, -0.5, 0.5, 0, 0.5, 0},
                   {}},
        GestureRow{"scale_about_the_centre",
                   input(kHalf, Handle::Scale, {0.5, 0.5}, {0.75, 0.75}),
                   {},
                   {1, 0, 0, 1, -0.25, -0.25},
                   {}},
        GestureRow{"ctrl_scales_about_p0",
                   input(kHalf, Handle::Scale, {0.5, 0.5}, {0.25, 0.25}, false, true),
                   {},
                   {0.25, 0, 0, 0.25, 0, 0},
                   {}},
        // The bottom edge moves along itself by the pointer's way along it, (0.1, 0).
        GestureRow{"edge_shears_along_itself",
                   input(kHalf, Handle::EdgeP0P1, {0.25, 0}, {0.35, 0.3}),
                   {},
                   {0.5, -0.1, 0, 0.5, 0.1, 0},
                   {}},
        // P0 of a map right of kHalf comes within 3 pixels of kHalf's P1: it lands on it.
        GestureRow{"ctrl_snaps_a_corner_onto_another",
                   input({0.5, 0, 0, 0.5, 0.52, 0.01}, Handle::P0, {0.52, 0.01}, {0.505, 0.004},
                         false, true),
                   {{0.5, 0}, {1, 0}},
                   {0.52, 0.02, 0.01, 0.51, 0.5, 0},
                   QPointF(0.5, 0)},
        GestureRow{"ctrl_snaps_to_the_grid_far_from_corners",
                   input(kHalf, Handle::P1, {0.5, 0}, {0.731, 0.262}, false, true),
                   kSquareCorners,
                   {0.75, 0, 0.25, 0.5, 0, 0},
                   QPointF(0.75, 0.25)},
        // The body's P3 comes within 7 pixels of (0.5, 0.5): the whole map moves onto it.
        GestureRow{"ctrl_snaps_the_bodys_nearest_corner",
                   input({0.5, 0, 0, 0.5, 0.01, 0.02}, Handle::Body, {0.3, 0.3}, {0.297, 0.292},
                         false, true),
                   {{0.5, 0.5}},
                   kHalf,
                   QPointF(0.5, 0.5)}),
    testing::RowName());

struct RoundingRow {
  const char* name;
  double value;
  double tolerance;
  double expected;
};

void PrintTo(const RoundingRow& row, std::ostream* out) { *out << row.name; }

class ShortestDecimal : public ::testing::TestWithParam<RoundingRow> {};

TEST_P(ShortestDecimal, HasTheFewestDecimalsWithinTheTolerance) {
  const RoundingRow& row = GetParam();
  EXPECT_EQ(shortestDecimalWithin(row.value, row.tolerance), row.expected);
}

INSTANTIATE_TEST_SUITE_P(Values, ShortestDecimal,
                         ::testing::Values(RoundingRow{"four_decimals", 0.123456, 0.5e-4, 0.1235},
                                           RoundingRow{"three_decimals", 0.123456, 0.5e-3, 0.123},
                                           RoundingRow{"sum_noise", 0.1 + 0.2, 0.5e-10, 0.3},
                                           RoundingRow{"ten_decimals_at_most", 1.0 / 3, 0.5e-10,
                                                       0.3333333333},
                                           RoundingRow{"negative", -0.0416667, 0.5e-4, -0.0417},
                                           RoundingRow{"whole", 2.00001, 0.5e-4, 2}),
                         testing::RowName());

TEST(DragTolerance, IsHalfAPixelBetweenFourAndTenDecimals) {
  EXPECT_EQ(dragTolerance(1.0 / 500), 0.5e-4);  // the default zoom: four decimals
  EXPECT_EQ(dragTolerance(1e-5), 0.5e-5);
  EXPECT_EQ(dragTolerance(1e-14), 0.5e-10);
  EXPECT_EQ(dragTolerance(0), 0.5e-10);  // ten decimals: a turn by Shift's steps
}

// P0 dragged by (0.1234567, 0): e rounds to 0.2485, and a and b are taken from the rounded P0
// to P1 and P2, which stay exactly where they were.
TEST(RoundedDrag, RoundsWhatMovedAndKeepsTheOtherCorners) {
  const PlaneMap start{0.5, 0.25, -0.25, 0.75, 0.125, 0.5};
  const PlaneMap exact = movedHandle(start, Handle::P0, 0.1234567, 0);
  const PlaneMap rounded = roundedDrag(start, exact, 0.5e-4);
  EXPECT_EQ(rounded.e, 0.2485);
  EXPECT_EQ(rounded.a, 0.3765);
  EXPECT_EQ(rounded.b, 0.1265);
  EXPECT_EQ(rounded.c, start.c);
  EXPECT_EQ(rounded.d, start.d);
  EXPECT_EQ(rounded.f, start.f);
}

// The classic fern in its own coordinates reaches 10 high from parallelograms 2.45 high; fitted
// into the square, it fills them.
TEST(FitHint, ComesForParallelogramsFarSmallerThanTheAttractor) {
  const std::vector<PlaneMap> classic = {{0, 0, 0, 0.16, 0, 0},
                                         {0.85, 0.04, -0.04, 0.85, 0, 1.6},
                                         {0.2, -0.26, 0.23, 0.22, 0, 1.6},
                                         {-0.15, 0.28, 0.26, 0.24, 0, 0.44}};
  EXPECT_TRUE(parallelogramsFarSmallerThanAttractor(classic));
  std::vector<PlaneMap> fitted;
  for (const auto& row : kFern) fitted.push_back(*row);
  EXPECT_FALSE(parallelogramsFarSmallerThanAttractor(fitted));
  const Box all = frameAllBox(classic);
  EXPECT_NEAR(all.ymax, 10, 0.01);
  EXPECT_NEAR(all.xmin, -2.18, 0.01);
  EXPECT_EQ(frameAllBox({}).xmax, 1);
}

}  // namespace
}  // namespace quill
