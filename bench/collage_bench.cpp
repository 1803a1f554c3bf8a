// The collage strip: how long the measures take after a drag step at the working resolution
// (512 cells a side for the unit square), on one core. A drag step moves one map a little; the
// strip then shows h(T, W(T)), its bound, and h(T, A) and IoU of the preview's attractor.
//
//   quillmere_collage_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <vector>

#include "core/collage/attractor_raster.h"
#include "core/collage/attractor_score.h"
#include "core/collage/collage_meter.h"
#include "core/collage/collage_picture.h"
#include "core/collage/target.h"
#include "core/maths/fit_to_square.h"
#include "support/map_rows.h"

namespace quill {
namespace {

// A filled leaf: the target with the most cells to carry, the hard case.
const Target& leafTarget() {
  static const Target target = [] {
    QImage image(600, 800, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath leaf;
    leaf.moveTo(300, 20);
    leaf.cubicTo(560, 250, 520, 600, 300, 700);
    leaf.cubicTo(80, 600, 40, 250, 300, 20);
    painter.fillPath(leaf, QColor(30, 90, 30));
    painter.fillRect(QRect(292, 690, 16, 100), QColor(60, 50, 20));
    painter.end();
    return targetFromImage(image, false).value();
  }();
  return target;
}

std::vector<PlaneMap> fernMaps() {
  std::vector<PlaneMap> maps;
  for (const WeightedMap& r : testing::presetRows(8)) {
    maps.push_back(r.map);
  }
  return fitToSquare(maps).value();
}

// The fern's attractor as its target: few cells, thin.
const Target& fernTarget() {
  static const Target target = [] {
    const AttractorRaster raster =
        rasteriseAttractor(fernMaps(), kTargetGrid, 10'000'000, 1, RenderControl{});
    return targetFromMask(raster.mask);
  }();
  return target;
}

// Maps whose images tile the leaf's box in two columns, as a fit of `count` maps would.
std::vector<PlaneMap> leafMaps(int count) {
  std::vector<PlaneMap> maps;
  const int rows = (count + 1) / 2;
  for (int i = 0; i < count; ++i) {
    const double k = std::min(0.55, 1.2 / rows);
    const double x = 0.3 + 0.4 * (i % 2);
    const double y = (0.5 + i / 2) / rows;
    maps.push_back({k, -0.1 * k, 0.1 * k, k, x - k * 0.5, y - k * 0.5});
  }
  return maps;
}

// One drag step: map 0 moves by a small step each time, alternately there and back.
void dragAndMeasure(benchmark::State& state, const Target& target, std::vector<PlaneMap> maps,
                    bool withAttractor) {
  CollageMeter meter(target);
  const AttractorRaster preview =
      rasteriseAttractor(maps, target.mask.grid, 2'000'000, 1, RenderControl{});
  double step = 0.002;
  for (auto _ : state) {
    maps[0].e += step;
    step = -step;
    const CollageMeasure& collage = meter.measure(maps);
    benchmark::DoNotOptimize(collage.distance);
    if (withAttractor) benchmark::DoNotOptimize(meter.measureAttractor(preview).iou);
  }
  state.counters["target_cells"] = double(target.cellList.size());
}

// The map editor's update after one drag step, as its worker makes it: the collage's measures
// and the picture of its cells, which the strip and the overlay show first; then (with
// `attractorPoints`) the preview attractor's game into the worker's raster and its h(T, A) and
// IoU, which follow.
void stripUpdate(benchmark::State& state, const Target& target, std::vector<PlaneMap> maps,
                 std::uint64_t attractorPoints) {
  CollageMeter meter(target);
  AttractorRaster raster;
  raster.mask = CellMask(target.mask.grid);
  double step = 0.002;
  for (auto _ : state) {
    maps[0].e += step;
    step = -step;
    const CollageMeasure& collage = meter.measure(maps);
    benchmark::DoNotOptimize(collage.distance);
    QImage picture = collagePicture(target.mask, meter.images());
    benchmark::DoNotOptimize(picture.constBits());
    if (attractorPoints > 0) {
      rasteriseAttractorInto(maps, attractorPoints, 1, raster);
      benchmark::DoNotOptimize(meter.measureAttractor(raster).iou);
    }
  }
}

// What the editor shows within the frame of a drag step: the collage, its measures and colours.
void BM_EditorCollageLeaf4Maps(benchmark::State& state) {
  stripUpdate(state, leafTarget(), leafMaps(4), 0);
}
void BM_EditorCollageFern(benchmark::State& state) {
  stripUpdate(state, fernTarget(), fernMaps(), 0);
}
// The whole update, the attractor's measures from the editor's million points included.
void BM_EditorStripLeaf4Maps(benchmark::State& state) {
  stripUpdate(state, leafTarget(), leafMaps(4), 1'000'000);
}

void BM_CollageLeaf4Maps(benchmark::State& state) {
  dragAndMeasure(state, leafTarget(), leafMaps(4), false);
}
void BM_CollageLeaf10Maps(benchmark::State& state) {
  dragAndMeasure(state, leafTarget(), leafMaps(10), false);
}
void BM_CollageFern(benchmark::State& state) {
  dragAndMeasure(state, fernTarget(), fernMaps(), false);
}
// The whole strip: the collage and the preview's attractor against the target.
void BM_StripLeaf4Maps(benchmark::State& state) {
  dragAndMeasure(state, leafTarget(), leafMaps(4), true);
}
void BM_StripLeaf10Maps(benchmark::State& state) {
  dragAndMeasure(state, leafTarget(), leafMaps(10), true);
}
void BM_StripFern(benchmark::State& state) {
  dragAndMeasure(state, fernTarget(), fernMaps(), true);
}

BENCHMARK(BM_CollageLeaf4Maps)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditorCollageLeaf4Maps)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditorCollageFern)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditorStripLeaf4Maps)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CollageLeaf10Maps)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CollageFern)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StripLeaf4Maps)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StripLeaf10Maps)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StripFern)->Unit(benchmark::kMillisecond);

// One score of the fit's inner loop: a small game on the fit's grid and distances both ways.
void BM_FitScoreFern(benchmark::State& state) {
  const Target coarse = coarsenTarget(fernTarget(), int(state.range(0)));
  AttractorScorer scorer(coarse, std::uint64_t(state.range(1)));
  std::vector<PlaneMap> maps = fernMaps();
  for (auto _ : state) benchmark::DoNotOptimize(scorer.score(maps, 5).chamfer);
}
BENCHMARK(BM_FitScoreFern)
    ->Args({2, 100'000})
    ->Args({4, 30'000})
    ->ArgNames({"coarsen", "points"})
    ->Unit(benchmark::kMillisecond);

// A target made once per run, on the whole grid: loading a picture.
void BM_TargetFromPicture(benchmark::State& state) {
  QImage image(1200, 1600, QImage::Format_ARGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setBrush(QColor(40, 40, 40));
  painter.drawEllipse(QRect(100, 100, 1000, 1400));
  painter.end();
  for (auto _ : state) benchmark::DoNotOptimize(targetFromImage(image, false).ok());
}
BENCHMARK(BM_TargetFromPicture)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quill

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
