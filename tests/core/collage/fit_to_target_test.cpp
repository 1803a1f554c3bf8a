#include "core/collage/fit_to_target.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/base/chaos_random.h"
#include "core/collage/attractor_raster.h"
#include "core/collage/attractor_score.h"
#include "core/collage/fit_report.h"
#include "core/maths/attractor_box.h"
#include "support/row_name.h"

namespace quill {
namespace {

const std::vector<PlaneMap> kGasket = {
    {0.48, 0, 0, 0.48, 0.02, 0.02}, {0.48, 0, 0, 0.48, 0.5, 0.02}, {0.48, 0, 0, 0.48, 0.26, 0.5}};

const Target& gasketTarget() {
  static const Target target =
      targetFromMask(rasteriseAttractor(kGasket, kTargetGrid, 3'000'000, 1, RenderControl{}).mask);
  return target;
}

// Every coefficient moved by a seeded uniform ±0.05.
std::vector<PlaneMap> perturbed(const std::vector<PlaneMap>& maps, std::uint64_t seed) {
  ChaosRandom random(seed);
  std::vector<PlaneMap> result;
  for (const PlaneMap& m : maps) {
    auto moved = [&](double v) { return v + 0.05 * (2 * double(random.next()) - 1); };
    result.push_back({moved(m.a), moved(m.b), moved(m.c), moved(m.d), moved(m.e), moved(m.f)});
  }
  return result;
}

std::vector<PlaneMap> planeMaps(const std::vector<WeightedMap>& maps) {
  std::vector<PlaneMap> result;
  for (const WeightedMap& m : maps) result.push_back(m.map);
  return result;
}

// IoU at 256 cells a side, both grown by a cell.
double iouWith(const Target& target, const std::vector<PlaneMap>& maps) {
  const Target coarse = coarsenTarget(target, 2);
  return grownIoU(rasteriseAttractor(maps, coarse.mask.grid, 2'000'000, 2, RenderControl{}).mask,
                  coarse.mask);
}

TEST(FitToTarget, RecoversAPerturbedGasket) {
  const std::vector<PlaneMap> start = perturbed(kGasket, 26);
  ASSERT_LT(iouWith(gasketTarget(), start), 0.5);
  FitOptions options;
  options.seconds = 1;
  int improvements = 0;
  options.improved = [&](const std::vector<WeightedMap>&) { ++improvements; };
  const Result<FitOutcome> fit = fitToTarget(gasketTarget(), start, options, RenderControl{});
  ASSERT_TRUE(fit.ok()) << fit.message().toStdString();
  ASSERT_EQ(fit->maps.size(), 3u);
  const FitReport report =
      reportFit(gasketTarget(), planeMaps(fit->maps), 1, RenderControl{}, 3'000'000);
  EXPECT_GE(report.iou, 0.95);
  ASSERT_TRUE(report.bound.has_value());
  EXPECT_LE(report.attractorDistance, *report.bound + kTargetGrid.cellSize());
  EXPECT_GT(improvements, 0);
  double p = 0;
  for (const WeightedMap& m : fit->maps) {
    EXPECT_LE(largestStretch(m.map), 0.95 + 1e-12);
    p += m.p;
  }
  EXPECT_NEAR(p, 1, 1e-12);
}

// The same maps, and the same improvements on the way, from one thread as from several.
TEST(FitToTarget, IsTheSameOnAnyNumberOfThreads) {
  struct Run {
    std::vector<WeightedMap> maps;
    std::vector<std::vector<WeightedMap>> shown;
  };
  auto run = [](int threads, const std::vector<PlaneMap>& start, int count) {
    Run result;
    FitOptions options;
    options.seconds = 0.2;
    options.seed = 5;
    options.mapCount = count;
    options.improved = [&](const std::vector<WeightedMap>& maps) { result.shown.push_back(maps); };
    RenderControl control;
    control.threads = threads;
    result.maps = fitToTarget(gasketTarget(), start, options, control).value().maps;
    return result;
  };
  auto same = [](const std::vector<WeightedMap>& x, const std::vector<WeightedMap>& y) {
    if (x.size() != y.size()) return false;
    for (std::size_t i = 0; i < x.size(); ++i) {
      const PlaneMap& a = x[i].map;
      const PlaneMap& b = y[i].map;
      if (a.a != b.a || a.b != b.b || a.c != b.c || a.d != b.d || a.e != b.e || a.f != b.f ||
          x[i].p != y[i].p) {
        return false;
      }
    }
    return true;
  };
  for (const bool fromNothing : {false, true}) {
    SCOPED_TRACE(fromNothing ? "from nothing" : "from perturbed maps");
    const std::vector<PlaneMap> start =
        fromNothing ? std::vector<PlaneMap>{} : perturbed(kGasket, 3);
    const Run one = run(1, start, 3);
    for (const int threads : {2, 5}) {
      const Run many = run(threads, start, 3);
      EXPECT_TRUE(same(one.maps, many.maps)) << threads << " threads";
      ASSERT_EQ(one.shown.size(), many.shown.size()) << threads << " threads";
      for (std::size_t i = 0; i < one.shown.size(); ++i) {
        EXPECT_TRUE(same(one.shown[i], many.shown[i])) << "improvement " << i;
      }
    }
  }
}

struct RefusalRow {
  std::string name;
  std::vector<PlaneMap> start;
  int mapCount;
  QString message;
};

class FitRefusals : public ::testing::TestWithParam<RefusalRow> {};

TEST(FitToTarget, RefusesATargetWithNoCells) {
  const Target empty = targetFromMask(CellMask(CollageGrid{64, 32}));
  const std::vector<PlaneMap> start = {kGasket[0]};
  const Result<FitOutcome> fit = fitToTarget(empty, start, FitOptions{}, RenderControl{});
  ASSERT_FALSE(fit.ok());
  EXPECT_EQ(fit.message(), kFitNoTargetMessage);
}

TEST_P(FitRefusals, SayWhatIsWrong) {
  const RefusalRow& row = GetParam();
  FitOptions options;
  options.mapCount = row.mapCount;
  options.seconds = 0.1;
  const Result<FitOutcome> fit = fitToTarget(gasketTarget(), row.start, options, RenderControl{});
  ASSERT_FALSE(fit.ok());
  EXPECT_EQ(fit.message(), row.message);
}

INSTANTIATE_TEST_SUITE_P(
    Starts, FitRefusals,
    ::testing::Values(
        RefusalRow{"no maps and no count", {}, 0, kFitMapCountMessage},
        RefusalRow{"no maps and eleven to seed", {}, 11, kFitMapCountMessage},
        RefusalRow{"eleven maps", std::vector<PlaneMap>(11, kGasket[0]), 0, kFitTooManyMapsMessage},
        RefusalRow{"a coefficient that is not a number",
                   {kGasket[0], {0.5, 0, 0, std::nan(""), 0, 0}},
                   0,
                   kFitBadMapsMessage},
        RefusalRow{"an infinite offset", {{0.5, 0, 0, 0.5, INFINITY, 0}}, 0, kFitBadMapsMessage}),
    testing::RowName{});

}  // namespace
}  // namespace quill
