#include "core/render/segmented_orbit.h"

#include "core/render/chaos_warm_up.h"
#include "core/render/map_choice.h"

namespace quill {

namespace {

// A segment plays at least this many steps: milliseconds of one core's work, beside which its
// jump and warm-up cost little.
constexpr std::int64_t kMinSegmentSteps = std::int64_t{1} << 20;
// Segments per thread: loads stay even on a shared machine and the progress bar moves smoothly.
constexpr std::int64_t kSegmentsPerThread = 8;
// A segment plays at least this many times the steps of its warm-up.
constexpr std::int64_t kStepsPerWarmUpStep = 8;

}  // namespace

std::optional<SegmentCut> cutChaosGame(const MapTable& maps, std::int64_t steps, int threads,
                                       const SegmentSettings& settings,
                                       std::int64_t leastSegmentSteps) {
  if (threads <= 1 || steps <= 0 || MapChoice(maps).mapCount() == 0) return std::nullopt;
  const std::optional<std::int64_t> warmUp =
      settings.warmUpSteps > 0 ? std::optional(settings.warmUpSteps) : chaosWarmUpSteps(maps);
  // Maps not sure to shrink: a segment's start might never be found.
  if (!warmUp) return std::nullopt;
  const std::int64_t perThreads = threads * kSegmentsPerThread;
  // The shortest segment worth its jump and warm-up; drawing's first segments are that short, so
  // that the first points come at once.
  const std::int64_t shortest =
      std::max({kMinSegmentSteps, *warmUp * kStepsPerWarmUpStep, leastSegmentSteps});
  const bool chosen = settings.segmentSteps <= 0;
  const SegmentCut cut{
      steps,
      chosen ? std::max(shortest, (steps + perThreads - 1) / perThreads) : settings.segmentSteps,
      *warmUp,
      settings.firstSegmentSteps > 0 ? settings.firstSegmentSteps : (chosen ? shortest : 0)};
  if (cut.count() < 2) return std::nullopt;
  return cut;
}

}  // namespace quill
