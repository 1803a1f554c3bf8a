// Speed of the drawings on a full-HD canvas: chaos-game points per second and fractal times, for
// the straightforward renderers and the fast ones the drawing buttons use.
//
// The machine is shared and noisy: compare medians, e.g.
//   quillmere_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <limits>
#include <thread>
#include <vector>

#include "core/base/chaos_random.h"
#include "core/base/render_control.h"
#include "core/canvas/canvas.h"
#include "core/editor/preview_renderer.h"
#include "core/maps/drawing_state.h"
#include "core/maps/pattern_catalogue.h"
#include "core/maths/attractor_box.h"
#include "core/maths/maths_report.h"
#include "core/render/chaos_game.h"
#include "core/render/drawing.h"
#include "core/render/fast_drawing.h"
#include "core/render/parallel_chaos_game.h"
#include "core/render/square_figure.h"
#include "core/render/triangle_figure.h"
#include "support/map_rows.h"

namespace quill {
namespace {

constexpr int kWidth = 1920;  // pixels
constexpr int kHeight = 1080;
constexpr double kTwipsPerPixel = 15;
constexpr std::int32_t kChaosPoints = 20'000'000;

using testing::kTenMaps;
using testing::presetRows;

// The shared state as start-up derives it for a screen of width × height pixels (full HD unless
// told), with `rows` in the table.
DrawingState stateWith(const std::vector<WeightedMap>& rows, std::int32_t count, int width = kWidth,
                       int height = kHeight) {
  DrawingState state;
  state.square =
      DrawingSquare::onCanvas(float(width * kTwipsPerPixel), float(height * kTwipsPerPixel));
  state.iterationCount = count;
  testing::storeRows(state.maps, rows);
  return state;
}

const std::vector<WeightedMap> kSierpinski(std::begin(testing::kHalfMaps),
                                           std::end(testing::kHalfMaps));
const std::vector<WeightedMap>& kFern = testing::kUnitFern;

void clearInk(Canvas& canvas) {
  for (int y = 0; y < canvas.heightPixels(); ++y) {
    std::memset(canvas.inkScanLine(y), 0, std::size_t(canvas.widthPixels()) * 4);
  }
}

// Items are points. The fast game runs here on one thread, as one orbit; BM_ChaosGameOnCores
// measures it on several.
template <bool Fast>
void chaosGame(benchmark::State& bench, const std::vector<WeightedMap>& rows) {
  DrawingState state = stateWith(rows, kChaosPoints);
  Canvas canvas(kWidth, kHeight, kTwipsPerPixel, kWhite);
  ChaosRandom random;
  const RenderControl control;
  for (auto _ : bench) {
    bench.PauseTiming();
    clearInk(canvas);
    bench.ResumeTiming();
    if constexpr (Fast) {
      benchmark::DoNotOptimize(drawFast(canvas, DrawingKind::ChaosGame, state, random, control, 1));
    } else {
      benchmark::DoNotOptimize(playChaosGame(canvas, state, random, control));
    }
    benchmark::ClobberMemory();
  }
  bench.SetItemsProcessed(bench.iterations() * std::int64_t(kChaosPoints));
}

void BM_ChaosGameReferenceSierpinski(benchmark::State& b) { chaosGame<false>(b, kSierpinski); }
void BM_ChaosGameReferenceFern(benchmark::State& b) { chaosGame<false>(b, kFern); }
void BM_ChaosGameFastSierpinski(benchmark::State& b) { chaosGame<true>(b, kSierpinski); }
void BM_ChaosGameFastFern(benchmark::State& b) { chaosGame<true>(b, kFern); }
void BM_ChaosGameFastTenMaps(benchmark::State& b) { chaosGame<true>(b, kTenMaps); }

// The chaos game of preset range(0) at 2·10^8 points on range(1) threads (0: one per core; 1 is
// the one-orbit loop), split into segments of range(2) steps (0: as drawing splits them). Items
// are points, per second of wall-clock time; "redrawn" is the share of segments whose start
// missed the true point and which were drawn again.
void BM_ChaosGameOnCores(benchmark::State& bench) {
  constexpr std::int32_t kPoints = 200'000'000;
  const int pattern = int(bench.range(0));
  bench.SetLabel(kPatterns[std::size_t(pattern)].menuCaption.toStdString());
  DrawingState state = stateWith(presetRows(pattern), kPoints);
  Canvas canvas(kWidth, kHeight, kTwipsPerPixel, kWhite);
  ChaosRandom random;
  const ParallelChaosSettings settings{.threads = int(bench.range(1)),
                                       .segmentSteps = bench.range(2)};
  std::int64_t segments = 0;
  std::int64_t redrawn = 0;
  for (auto _ : bench) {
    bench.PauseTiming();
    clearInk(canvas);
    bench.ResumeTiming();
    const ParallelChaosOutcome outcome =
        playChaosGameParallel(canvas, state, random, RenderControl{}, settings);
    benchmark::DoNotOptimize(outcome.finished);
    benchmark::ClobberMemory();
    segments += std::max<std::int64_t>(outcome.segments - 1, 0);  // the first is never redrawn
    redrawn += outcome.redrawn;
  }
  bench.SetItemsProcessed(bench.iterations() * std::int64_t(kPoints));
  bench.counters["redrawn"] = segments > 0 ? double(redrawn) / double(segments) : 0.0;
}

// Whether any pixel of the canvas has ink, read while the game's threads merge into it.
bool anyInk(Canvas& canvas) {
  for (int y = 0; y < canvas.heightPixels(); ++y) {
    std::uint32_t* row = canvas.inkScanLine(y);
    for (int x = 0; x < canvas.widthPixels(); ++x) {
      if (std::atomic_ref(row[x]).load(std::memory_order_relaxed) != 0) return true;
    }
  }
  return false;
}

// Seconds from the start of the fern's chaos game of 2·10^9 steps on range(0) threads (0: one
// per core) until its first points are on the canvas, looked for every millisecond; the game is
// then cancelled. range(1) 1 cuts the game in even segments, as it was cut before the ramp.
void BM_ChaosGameFirstPoints(benchmark::State& bench) {
  DrawingState state = stateWith(kFern, 2'000'000'000);
  Canvas canvas(kWidth, kHeight, kTwipsPerPixel, kWhite);
  for (auto _ : bench) {
    clearInk(canvas);
    std::atomic<bool> cancel{false};
    RenderControl control;
    control.cancel = &cancel;
    ChaosRandom random;
    const auto start = std::chrono::steady_clock::now();
    std::jthread game([&] {
      playChaosGameParallel(
          canvas, state, random, control,
          {.threads = int(bench.range(0)),
           .firstSegmentSteps =
               bench.range(1) == 1 ? std::numeric_limits<std::int64_t>::max() : 0});
    });
    while (!anyInk(canvas)) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    bench.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    cancel = true;
  }
}

// One fractal drawing on a fresh canvas per iteration: the fast renderer skips what is already
// in the pen colour, so a canvas kept from the last iteration would flatter it. `threads` 0 is
// one per core; the reference always runs on one.
void fractal(benchmark::State& bench, const std::vector<WeightedMap>& rows, DrawingKind kind,
             int depth, bool fast, int threads, int width = kWidth, int height = kHeight) {
  DrawingState state = stateWith(rows, depth, width, height);
  Canvas canvas(width, height, kTwipsPerPixel, kWhite);
  ChaosRandom random;
  const RenderControl control;
  for (auto _ : bench) {
    bench.PauseTiming();
    clearInk(canvas);
    bench.ResumeTiming();
    if (fast) {
      benchmark::DoNotOptimize(drawFast(canvas, kind, state, random, control, threads));
    } else {
      benchmark::DoNotOptimize(drawReference(canvas, kind, state, random, control));
    }
    benchmark::ClobberMemory();
  }
  // Items are the figures the recursion would draw, while they can be counted.
  const double figures = std::pow(double(rows.size()), double(depth));
  if (figures < 0x1p62) bench.SetItemsProcessed(bench.iterations() * std::int64_t(figures));
}

// The figure the "Fractal" button draws for a preset: triangles for the first, squares for the
// others.
DrawingKind figureOf(int pattern) {
  return pattern == 0 ? DrawingKind::TriangleFractal : DrawingKind::SquareFractal;
}

// Depth 20 of every preset, fast, on one thread (range 1 = 1) or one per core (0).
void BM_FractalDepth20(benchmark::State& bench) {
  const int pattern = int(bench.range(0));
  bench.SetLabel(kPatterns[std::size_t(pattern)].menuCaption.toStdString());
  fractal(bench, presetRows(pattern), figureOf(pattern), 20, true, int(bench.range(1)));
}

// The same on a 4K canvas (3840 × 2160), where the goal is 0.3 s a preset on two cores.
void BM_FractalDepth20At4K(benchmark::State& bench) {
  const int pattern = int(bench.range(0));
  bench.SetLabel(kPatterns[std::size_t(pattern)].menuCaption.toStdString());
  fractal(bench, presetRows(pattern), figureOf(pattern), 20, true, int(bench.range(1)), 3840, 2160);
}

void BM_FractalDepth20TenMaps(benchmark::State& bench) {
  fractal(bench, kTenMaps, DrawingKind::SquareFractal, 20, true, int(bench.range(0)));
}

// Reference against fast (one thread) at a depth the reference draws in about a second.
void BM_FractalReferenceSierpinski(benchmark::State& b) {
  fractal(b, kSierpinski, DrawingKind::TriangleFractal, int(b.range(0)), false, 1);
}
void BM_FractalFastSierpinski(benchmark::State& b) {
  fractal(b, kSierpinski, DrawingKind::TriangleFractal, int(b.range(0)), true, 1);
}
void BM_FractalReferenceFern(benchmark::State& b) {
  fractal(b, presetRows(kFernPattern), DrawingKind::SquareFractal, int(b.range(0)), false, 1);
}
void BM_FractalFastFern(benchmark::State& b) {
  fractal(b, presetRows(kFernPattern), DrawingKind::SquareFractal, int(b.range(0)), true, 1);
}

// The Map Editor's preview: 2,000,000 points of the ten maps into a 1000 × 1000 frame, one core,
// and the 200,000 of the first frame after a drag step. The hits buffer is zeroed outside the
// timing (about 50 µs of memset), as the canvases above are; items are points.
void BM_EditorPreview(benchmark::State& bench) {
  const auto kPoints = std::uint64_t(bench.range(0));
  const std::vector<WeightedMap>& maps = kTenMaps;
  const PreviewFrame frame;
  std::vector<std::uint8_t> hits(std::size_t(frame.width) * std::size_t(frame.height));
  ChaosRandom random;
  const RenderControl control;
  for (auto _ : bench) {
    bench.PauseTiming();
    std::fill(hits.begin(), hits.end(), std::uint8_t(0));
    PreviewOrbit orbit;
    bench.ResumeTiming();
    benchmark::DoNotOptimize(
        playPreview(maps, frame, kPoints, random, orbit, hits.data(), control));
    benchmark::ClobberMemory();
  }
  bench.SetItemsProcessed(bench.iterations() * std::int64_t(kPoints));
}

// The attractor's box of the ten maps and of the fern, to 1e-9 of its size.
void attractorBoxTimes(benchmark::State& bench, const std::vector<WeightedMap>& rows) {
  std::vector<PlaneMap> maps;
  for (const WeightedMap& r : rows) maps.push_back(r.map);
  for (auto _ : bench) benchmark::DoNotOptimize(attractorBox(maps));
}
void BM_AttractorBoxTenMaps(benchmark::State& b) { attractorBoxTimes(b, kTenMaps); }
void BM_AttractorBoxFern(benchmark::State& b) { attractorBoxTimes(b, kFern); }

// The maths report's box counting: 10^7 chaos-game points counted in boxes, one core; items
// are points.
void countBoxesOf(benchmark::State& bench, const std::vector<WeightedMap>& rows) {
  constexpr std::int64_t kPoints = 10'000'000;
  for (auto _ : bench) benchmark::DoNotOptimize(countBoxes(rows, kPoints, ChaosRandom(), {}));
  bench.SetItemsProcessed(bench.iterations() * kPoints);
}
void BM_CountBoxesSierpinski(benchmark::State& b) { countBoxesOf(b, kSierpinski); }
void BM_CountBoxesFern(benchmark::State& b) { countBoxesOf(b, kFern); }

BENCHMARK(BM_ChaosGameReferenceSierpinski)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChaosGameReferenceFern)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChaosGameFastSierpinski)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChaosGameFastFern)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChaosGameFastTenMaps)->Unit(benchmark::kMillisecond);
// Sierpinski and the fern on one thread, two and one per core.
BENCHMARK(BM_ChaosGameOnCores)
    ->ArgsProduct({{0, 8}, {1, 2, 0}, {0}})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
// Every preset on every core, split as drawing splits and in segments of 2^16 steps, for the
// share of segments drawn again.
BENCHMARK(BM_ChaosGameOnCores)
    ->ArgsProduct({benchmark::CreateDenseRange(0, kUserPattern - 1, 1), {0}, {0, 1 << 16}})
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChaosGameFirstPoints)
    ->Args({0, 0})
    ->Args({0, 1})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
// The fast fractal works on threads of its own: the CPU column is the whole process's time (on
// one thread, one core's), the Time column the wall clock.
BENCHMARK(BM_FractalDepth20)
    ->ArgsProduct({benchmark::CreateDenseRange(0, kUserPattern - 1, 1), {1, 0}})
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FractalDepth20At4K)
    ->ArgsProduct({benchmark::CreateDenseRange(0, kUserPattern - 1, 1), {1, 0}})
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FractalDepth20TenMaps)
    ->Arg(1)
    ->Arg(0)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FractalReferenceSierpinski)->Arg(12)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FractalFastSierpinski)
    ->Arg(12)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FractalReferenceFern)->Arg(9)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FractalFastFern)
    ->Arg(9)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditorPreview)->Arg(2'000'000)->Arg(200'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AttractorBoxTenMaps)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AttractorBoxFern)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CountBoxesSierpinski)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CountBoxesFern)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quill

BENCHMARK_MAIN();
