// An animation's frames: a full-HD density sequence of 10^7 points a frame, the gasket morphing
// into the fern, rendered and toned row by row as every export does (no file written). Argument:
// threads. The frames/s counter is the goal's measure (2 frames/s on two cores); on a shared
// machine note the load beside it, and compare the CPU column.

#include <benchmark/benchmark.h>

#include "core/movie/movie_export.h"
#include "support/map_rows.h"

namespace quill {
namespace {

constexpr int kFrames = 8;

MovieRequest fullHdMorph(int threads, RenderControl& control) {
  Animation animation;
  animation.keys = {{0, {std::begin(testing::kHalfMaps), std::end(testing::kHalfMaps)}, {}, {}},
                    {1, testing::kUnitFern, {}, {}}};
  MovieRequest movie;
  movie.plan = planAnimation(animation).value();
  movie.frameCount = kFrames;
  movie.inputs.kind = DrawingKind::ChaosGame;
  movie.inputs.drawing.iterationCount = 10'000'000;
  movie.picture.width = 1920;
  movie.picture.height = 1080;
  movie.picture.shading = Shading::Density;
  control.threads = threads;
  return movie;
}

void BM_DensityFrames(benchmark::State& state) {
  RenderControl control;
  const MovieRequest movie = fullHdMorph(int(state.range(0)), control);
  std::vector<std::uint16_t> values(std::size_t(movie.picture.width) * 3);
  int frame = 0;
  for (auto _ : state) {
    const Status drawn =
        renderFrameRows(movie, frame++ % kFrames, control, [&](const RowSource& row) -> Status {
          for (int y = 0; y < movie.picture.height; ++y) row(y, values.data());
          return {};
        });
    if (!drawn) state.SkipWithError(drawn.message().toStdString().c_str());
    benchmark::DoNotOptimize(values.data());
  }
  state.counters["frames/s"] = benchmark::Counter(1, benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(BM_DensityFrames)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace quill

BENCHMARK_MAIN();
