#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/base/render_control.h"
#include "core/collage/attractor_score.h"
#include "core/collage/target.h"
#include "core/maps/weighted_map.h"

namespace quill {

// What the fit minimises, in units: the attractor's chamfer distance from the target, plus two
// cells for each share of the target not within a cell of the attractor and of the attractor
// not within a cell of the target (the chamfer alone lets thin misplaced parts linger).
double searchScore(const AttractorScore& score, double cellSize);

// A search for maps whose attractor lies nearer the target: a derivative-free local search
// (NLopt's BOBYQA) over the six coefficients of every map, scored by searchScore of a game of
// `points` points with a fixed `seed` (the same game for every try, so that the score is a
// function of the maps). Every map tried has its stretch cut to kFitStretch. Deterministic: the
// same inputs give the same maps.
struct SearchSettings {
  double step = 0.02;            // first step of each coefficient
  std::int64_t evaluations = 0;  // scores to spend
  std::uint64_t points = 0;
  std::uint64_t seed = 0;
};

struct SearchOutcome {
  std::vector<PlaneMap> maps;  // the best maps tried, cut
  double chamfer = 0;          // their searchScore
  std::int64_t evaluations = 0;
  bool cancelled = false;
};

// Looks at control.cancelled() before every score and stops the search when it is set.
SearchOutcome searchAttractor(const Target& target, std::span<const PlaneMap> start,
                              const SearchSettings& settings, const RenderControl& control);

}  // namespace quill
