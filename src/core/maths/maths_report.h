#pragma once

#include <QByteArray>
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/base/chaos_random.h"
#include "core/base/render_control.h"
#include "core/maths/attractor_box.h"

namespace quill {

// What one map does to the plane.
struct MapFacts {
  int index = 0;  // 1-based row of the grid
  WeightedMap row;
  double det = 0;  // ±inf only where a·d − b·c passes the largest double
  std::array<double, 2> singularValues{};  // σ1 ≥ σ2 ≥ 0: the most and least it stretches
  bool similarity = false;                 // σ1 = σ2 to 1e-9 of σ1 (and 0 < σ1 < inf)
  std::optional<double> ratio;             // σ1, for a similarity
  std::optional<double> rotationDegrees;   // for a similarity, in (-180, 180]
  bool flips = false;                      // det < 0 (also one below the smallest double)
  std::optional<std::array<double, 2>> fixedPoint;  // where I − A is invertible
  bool expanding = false;                           // σ1 ≥ 1
  double detShare = 0;  // its share under detShares: its p under "p ∝ |det|"
};

// What the whole system does; the box-counting estimate is computed apart (it takes a while).
struct SystemFacts {
  std::vector<MapFacts> maps;
  bool contracting = false;                   // every σ1 < 1, and at least one map
  std::optional<Box> boundingBox;             // the attractor's, where it can be found
  std::optional<double> similarityDimension;  // D with Σ r_i^D = 1, all maps similarities
};

SystemFacts analyseSystem(std::span<const WeightedMap> maps);

// The attractor's box as the report gives it: attractorBox's, or for maps that contract only
// once y is rescaled (a quarter turn keeping one side of the square) the outer box of
// rescaledAttractorBoxBounds; nothing when there is no attractor.
std::optional<Box> attractorBoxOf(std::span<const PlaneMap> maps);

// The solution of (I − A) x = t; nothing where I − A is singular (its rows parallel to 1e-12).
std::optional<std::array<double, 2>> fixedPointOf(const PlaneMap& map);

// The box-counting estimate: occupied boxes of side 2^-k of the attractor's box, fitted on a
// log–log line over the sizes the points resolve.
struct BoxCountPoint {
  double boxSize = 0;  // side, as a share of the bounding box's larger side
  std::int64_t occupied = 0;
};
struct BoxCounting {
  std::vector<BoxCountPoint> points;  // all counted sizes, largest box first
  int fitFirst = 0, fitLast = 0;      // the points the line is fitted on, inclusive
  double slope = 0;                   // of log(count) against log(1/size): the dimension
  double intercept = 0;
  std::int64_t steps = 0;  // chaos-game points counted
};

// Plays a chaos game of `steps` points, picking the maps as the Map Editor's preview does
// (MapPicker: by max(p, 0), so maps of p ≤ 0 are left out as the drawing leaves them out; all
// alike when none is positive) and counts boxes; nothing when the attractor has no box
// (attractorBoxOf), when there are no maps or steps, or when cancelled. Memory stays below some
// 100 MiB whatever the steps.
std::optional<BoxCounting> countBoxes(std::span<const WeightedMap> maps, std::int64_t steps,
                                      ChaosRandom random, const RenderControl& control);

// The report as JSON, numbers in their shortest round-trip form, null where a value does not
// exist.
QByteArray reportJson(const SystemFacts& facts, const std::optional<BoxCounting>& boxes);

}  // namespace quill
