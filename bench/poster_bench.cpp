// A poster: the fern at 16384 × 16384 shaded by density from 10^9 points, written as PNG. It
// takes minutes, so it lives apart from quillmere_bench; run it alone and watch its memory:
//   /usr/bin/time -v quillmere_poster_bench
// --benchmark_filter=/100000000/ plays 10^8 points instead, /1000000/ shows the fixed cost.

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>

#include "core/picture/picture.h"

namespace quill {
namespace {

struct Row {
  double a, b, c, d, e, f, p;
};

// The classic fern, moved into the unit square: x scaled by 1/10 about 0.5, y by 1/10.
constexpr Row kFern[] = {{0, 0, 0, 0.16, 0.5, 0, 0.01},
                         {0.85, 0.04, -0.04, 0.85, 0.075, 0.18, 0.85},
                         {0.2, -0.26, 0.23, 0.22, 0.4, 0.045, 0.07},
                         {-0.15, 0.28, 0.26, 0.24, 0.575, -0.086, 0.07}};

PictureInputs fern(std::int32_t points) {
  PictureInputs inputs;
  inputs.drawing = Drawing::ChaosGame;
  MapTable& maps = inputs.module1.maps;
  int i = 0;
  for (const Row& row : kFern) {
    ++i;
    maps.mapA[i] = row.a, maps.mapB[i] = row.b, maps.mapC[i] = row.c, maps.mapD[i] = row.d;
    maps.mapE[i] = row.e, maps.mapF[i] = row.f, maps.mapP[i] = row.p;
    maps.mapCumP[i] = maps.mapCumP[i - 1] + row.p;
  }
  maps.mapCount = i;
  inputs.module1.iterationCount = points;
  return inputs;
}

void BM_PosterFernDensity(benchmark::State& state) {
  const PictureInputs inputs = fern(std::int32_t(state.range(0)));
  PictureRequest request;
  request.width = request.height = kMaxPictureSide;
  request.shading = Shading::Density;
  request.pen = 0x1B5E20;
  const QString path = QDir::temp().filePath(QStringLiteral("quillmere_poster_bench.png"));
  for (auto _ : state) {
    const Status status = renderPicture(inputs, request, RenderControl{}, path);
    if (!status) state.SkipWithError(status.message().toStdString().c_str());
  }
  state.counters["points/s"] =
      benchmark::Counter(double(state.range(0)), benchmark::Counter::kIsIterationInvariantRate);
  QFile::remove(path);
}

BENCHMARK(BM_PosterFernDensity)
    ->Arg(1'000'000'000)
    ->Arg(100'000'000)
    ->Arg(1'000'000)  // little but the fixed cost: the counts' memory, the tones, the PNG
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

}  // namespace
}  // namespace quill

BENCHMARK_MAIN();
