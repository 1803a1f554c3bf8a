// The hit counter behind the density and by-map pictures: the fern's points counted per second
// on a full-HD grid and on a poster's 16384 × 16384, by one thread or two. Arguments: the grid's
// side code (0 full HD, 1 poster), points, threads, and 1 for colours by map.
//
// The CPU column is the whole process's: on a loaded machine, where the wall clock says little,
// CPU time per point that stays flat from one thread to two shows the threads do not fight.
// The machine is shared and noisy: run the trees to compare in turn and take medians, e.g.
//   quillmere_count_bench --benchmark_filter=BM_CountHits/0/ --benchmark_repetitions=5

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstring>
#include <random>
#include <vector>

#include "core/picture/hit_counts.h"
#include "support/map_rows.h"

namespace quill {
namespace {

constexpr double kTwipsPerPixel = 15;

void BM_CountHits(benchmark::State& state) {
  const bool poster = state.range(0) == 1;
  const int width = poster ? 16384 : 1920;
  const int height = poster ? 16384 : 1080;
  DrawingState drawing;
  drawing.square =
      DrawingSquare::onCanvas(float(width * kTwipsPerPixel), float(height * kTwipsPerPixel));
  drawing.iterationCount = std::int32_t(state.range(1));
  testing::storeRows(drawing.maps, testing::kUnitFern);
  RenderControl control;
  control.threads = int(state.range(2));
  std::array<Tint, kMapSlots> tints{};
  tints[1] = {65535, 0, 0};
  tints[2] = {0, 65535, 0};
  for (auto _ : state) {
    const Result<HitGrid> hits = countHits(width, height, drawing, ChaosRandom(),
                                           state.range(3) == 1 ? &tints : nullptr, control);
    if (!hits) state.SkipWithError(hits.message().toStdString().c_str());
    benchmark::DoNotOptimize(hits->counts.data());
  }
  state.counters["points/s"] =
      benchmark::Counter(double(state.range(1)), benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(BM_CountHits)
    ->Args({0, 100'000'000, 1, 0})
    ->Args({0, 100'000'000, 2, 0})
    ->Args({0, 50'000'000, 1, 1})
    ->Args({0, 50'000'000, 2, 1})
    ->Args({1, 100'000'000, 1, 0})
    ->Args({1, 100'000'000, 2, 0})
    ->Args({1, 1'000'000'000, 1, 0})
    ->Args({1, 1'000'000'000, 2, 0})
    ->Iterations(1)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// The limit a poster is measured against: a STREAM-like copy of 256 MiB per thread, counted as
// STREAM counts it (the bytes read and the bytes written).
void BM_MemoryCopy(benchmark::State& state) {
  constexpr std::size_t kBytes = std::size_t{256} << 20;
  std::vector<char> from(kBytes, 1);
  std::vector<char> to(kBytes, 0);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), kBytes);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(2 * kBytes));
}
BENCHMARK(BM_MemoryCopy)->Threads(1)->Threads(2)->UseRealTime()->Unit(benchmark::kMillisecond);

// What a poster's count costs at best: 10^8 increments at random cells of a 1 GiB array shared by
// the threads, the indices ready in memory; range(0) 0 locked (atomic) adds, 1 plain adds with
// the cells fetched 16 ahead (each thread its own half of the array, as a band's owner would).
void BM_RandomIncrements(benchmark::State& state) {
  constexpr std::size_t kCells = std::size_t{1} << 28;
  constexpr std::size_t kIncrements = 100'000'000;
  static std::vector<std::uint32_t> counts;
  static std::vector<std::uint32_t> cells;
  if (state.thread_index() == 0) {
    counts.assign(kCells, 0);
    if (cells.empty()) {
      std::mt19937 random(7);
      cells.resize(kIncrements / 2);
      for (std::uint32_t& cell : cells) cell = random() & (kCells / 2 - 1);
    }
  }
  const std::size_t half = std::size_t(state.thread_index()) * (kCells / 2);
  const std::size_t share = kIncrements / std::size_t(state.threads());
  for (auto _ : state) {
    std::uint32_t* base = counts.data() + half;
    for (std::size_t i = 0; i < share; ++i) {
      const std::size_t at = cells[i % cells.size()];
      if (state.range(0) == 0) {
        std::atomic_ref(base[at]).fetch_add(1, std::memory_order_relaxed);
      } else {
        __builtin_prefetch(base + cells[(i + 16) % cells.size()], 1);
        ++base[at];
      }
    }
    benchmark::ClobberMemory();
  }
  state.counters["increments/s"] =
      benchmark::Counter(double(share), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_RandomIncrements)
    ->Arg(0)
    ->Arg(1)
    ->Threads(1)
    ->Threads(2)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quill

BENCHMARK_MAIN();
