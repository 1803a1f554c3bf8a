// Speed of the drawings on a full-HD canvas: chaos-game points per second and fractal figures
// per second, through the same renderers the drawing buttons use.

#include <benchmark/benchmark.h>

#include <cmath>
#include <initializer_list>

#include "render/chaos_game.h"
#include "render/chaos_random.h"
#include "render/render_control.h"
#include "render/square_figure.h"
#include "render/triangle_figure.h"
#include "shell/canvas.h"
#include "shell/module1.h"

namespace quill {
namespace {

constexpr int kWidth = 1920;  // pixels
constexpr int kHeight = 1080;
constexpr double kTwipsPerPixel = 15;
constexpr std::int32_t kChaosPoints = 10'000'000;

struct Row {
  double a, b, c, d, e, f, p;
};

// The shared state as start-up derives it for a full-HD screen, with `rows` in the table.
Module1 stateWith(std::initializer_list<Row> rows, std::int32_t count) {
  Module1 state;
  state.deriveDrawingSquare(float(kWidth * kTwipsPerPixel), float(kHeight * kTwipsPerPixel));
  state.iterationCount = count;
  int i = 0;
  for (const Row& row : rows) {
    ++i;
    MapTable& maps = state.maps;
    maps.mapA[i] = row.a, maps.mapB[i] = row.b, maps.mapC[i] = row.c, maps.mapD[i] = row.d;
    maps.mapE[i] = row.e, maps.mapF[i] = row.f, maps.mapP[i] = row.p;
    maps.mapCumP[i] = row.p == 0 ? 0 : maps.mapCumP[i - 1] + row.p;
  }
  state.maps.mapCount = i;
  return state;
}

const std::initializer_list<Row> kSierpinski = {{0.5, 0, 0, 0.5, 0, 0, 0.33},
                                                {0.5, 0, 0, 0.5, 0.5, 0, 0.33},
                                                {0.5, 0, 0, 0.5, 0.25, 0.5, 0.34}};

// The classic fern, moved into the unit square: x scaled by 1/10 about 0.5, y by 1/10.
const std::initializer_list<Row> kFern = {{0, 0, 0, 0.16, 0.5, 0, 0.01},
                                          {0.85, 0.04, -0.04, 0.85, 0.075, 0.18, 0.85},
                                          {0.2, -0.26, 0.23, 0.22, 0.4, 0.045, 0.07},
                                          {-0.15, 0.28, 0.26, 0.24, 0.575, -0.086, 0.07}};

void chaosGame(benchmark::State& bench, std::initializer_list<Row> rows) {
  Module1 state = stateWith(rows, kChaosPoints);
  Canvas canvas(kWidth, kHeight, kTwipsPerPixel, kWhite);
  ChaosRandom random;
  const RenderControl control;
  for (auto _ : bench) {
    benchmark::DoNotOptimize(PlayChaosGame(canvas, state, random, control));
    benchmark::ClobberMemory();
  }
  bench.SetItemsProcessed(bench.iterations() * std::int64_t(kChaosPoints));
}

void BM_ChaosGameSierpinski(benchmark::State& bench) { chaosGame(bench, kSierpinski); }
void BM_ChaosGameFern(benchmark::State& bench) { chaosGame(bench, kFern); }

// Items are figures: 3^depth per drawing.
template <bool Square>
void fractal(benchmark::State& bench) {
  const int depth = int(bench.range(0));
  Module1 state = stateWith(kSierpinski, depth);
  Canvas canvas(kWidth, kHeight, kTwipsPerPixel, kWhite);
  const RenderControl control;
  for (auto _ : bench) {
    if constexpr (Square) {
      benchmark::DoNotOptimize(DrawSquareFigure(canvas, state, control));
    } else {
      benchmark::DoNotOptimize(DrawTriangleFigure(canvas, state, control));
    }
    benchmark::ClobberMemory();
  }
  bench.SetItemsProcessed(bench.iterations() * std::int64_t(std::pow(3.0, depth)));
}

void BM_FractalTriangles(benchmark::State& bench) { fractal<false>(bench); }
void BM_FractalSquares(benchmark::State& bench) { fractal<true>(bench); }

BENCHMARK(BM_ChaosGameSierpinski)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChaosGameFern)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FractalTriangles)->Arg(10)->Arg(12)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FractalSquares)->Arg(10)->Arg(12)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quill

BENCHMARK_MAIN();
