#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "core/base/render_control.h"
#include "core/collage/target.h"
#include "core/maps/weighted_map.h"

namespace quill {

// How well a system draws the target, as a fit reports it at its end.
struct FitReport {
  double iou = 0;  // attractor against target at 256 cells a side, both grown by one cell
  double collageDistance = 0;    // h(T, W(T)) at the working resolution, units of the square
  std::optional<double> bound;   // h(T, W(T)) / (1 − s); none when a map does not contract
  double attractorDistance = 0;  // h(T, A) at the working resolution, units of the square
};

// Attractor games of `points` points each from `seed`, on control.threads threads (the same
// report on any number). When cancelled, the attractor's figures are of what was played.
inline constexpr std::uint64_t kReportPoints = 20'000'000;
FitReport reportFit(const Target& target, std::span<const PlaneMap> maps, std::uint64_t seed,
                    const RenderControl& control, std::uint64_t points = kReportPoints);

}  // namespace quill
