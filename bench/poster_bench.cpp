// A poster: the fern at 16384 × 16384 shaded by density from 10^9 points, written as PNG. It
// takes minutes, so it lives apart from quillmere_bench; run it alone and watch its memory:
//   /usr/bin/time -v quillmere_poster_bench
// --benchmark_filter=/100000000/ plays 10^8 points instead, /1000000/ shows the fixed cost.
// BM_PosterFlat is quillmere-render's plain picture at that size, one canvas written a row at a
// time; run each type alone (--benchmark_filter=BM_PosterFlat/1/) for its own peak memory:
// about 1040 MiB, the canvas and a few rows, where encoding the whole picture took 2 to 2.8 GiB.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>

#include "core/picture/picture.h"
#include "support/map_rows.h"

namespace quill {
namespace {

PictureInputs fern(std::int32_t points) {
  PictureInputs inputs;
  inputs.kind = DrawingKind::ChaosGame;
  testing::storeRows(inputs.drawing.maps, testing::kUnitFern);
  inputs.drawing.iterationCount = points;
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

// The flat chaos game on the canvas, as PNG (0), BMP (1) or JPEG (2); the peak resident memory of
// the process so far, in MiB, beside the time.
void BM_PosterFlat(benchmark::State& state) {
  const PictureInputs inputs = fern(10'000'000);
  PictureRequest request;
  request.width = request.height = kMaxPictureSide;
  const char* const suffixes[] = {"png", "bmp", "jpg"};
  const QString path = QDir::temp().filePath(QStringLiteral("quillmere_poster_bench.") +
                                             QLatin1String(suffixes[state.range(0)]));
  request.format = *pictureFormatFor(path, false);
  for (auto _ : state) {
    const Status status = renderPicture(inputs, request, RenderControl{}, path);
    if (!status) state.SkipWithError(status.message().toStdString().c_str());
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_MiB"] = double(usage.ru_maxrss) / 1024;  // ru_maxrss is in KiB
  QFile::remove(path);
}

BENCHMARK(BM_PosterFlat)->DenseRange(0, 2)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

}  // namespace
}  // namespace quill

BENCHMARK_MAIN();
