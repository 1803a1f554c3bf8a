#include "core/collage/attractor_search.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <nlopt.hpp>
#include <stdexcept>

#include "core/collage/attractor_score.h"
#include "core/collage/fit_maps.h"

namespace quill {

namespace {

// Coefficients past this lie far beyond anything a map of the square onto a part of it needs.
constexpr double kReach = 2;

std::vector<PlaneMap> mapsOf(const std::vector<double>& x) {
  std::vector<PlaneMap> maps;
  for (std::size_t i = 0; i + 5 < x.size(); i += 6) {
    maps.push_back(
        clampStretch({x[i], x[i + 1], x[i + 2], x[i + 3], x[i + 4], x[i + 5]}, kFitStretch));
  }
  return maps;
}

struct Search {
  AttractorScorer scorer;
  const SearchSettings& settings;
  const RenderControl& control;
  SearchOutcome outcome;
  std::vector<PlaneMap> maps;
  double cellSize;

  double evaluate(const std::vector<double>& x, nlopt::opt& opt) {
    if (control.cancelled()) {
      outcome.cancelled = true;
      opt.force_stop();
      return std::numeric_limits<double>::max();
    }
    maps = mapsOf(x);
    const double chamfer = searchScore(scorer.score(maps, settings.seed), cellSize);
    ++outcome.evaluations;
    if (chamfer < outcome.chamfer) {
      outcome.chamfer = chamfer;
      outcome.maps = maps;
    }
    return std::isfinite(chamfer) ? chamfer : std::numeric_limits<double>::max();
  }
};

}  // namespace

double searchScore(const AttractorScore& score, double cellSize) {
  return score.chamfer + 2 * cellSize * (2 - score.covered - score.inside);
}

SearchOutcome searchAttractor(const Target& target, std::span<const PlaneMap> start,
                              const SearchSettings& settings, const RenderControl& control) {
  Search search{AttractorScorer(target, settings.points),
                settings,
                control,
                {},
                {},
                target.mask.grid.cellSize()};
  std::vector<double> x;
  for (const PlaneMap& m : start) {
    const PlaneMap c = clampStretch(m, kFitStretch);
    for (const double v : {c.a, c.b, c.c, c.d, c.e, c.f})
      x.push_back(std::clamp(v, -kReach, kReach));
  }
  search.outcome.maps = mapsOf(x);
  search.outcome.chamfer =
      searchScore(search.scorer.score(search.outcome.maps, settings.seed), search.cellSize);
  search.outcome.evaluations = 1;
  if (x.empty() || settings.evaluations <= 1) return search.outcome;

  nlopt::opt opt(nlopt::LN_BOBYQA, unsigned(x.size()));
  opt.set_maxeval(int(settings.evaluations - 1));
  opt.set_initial_step(settings.step);
  opt.set_lower_bounds(-kReach);
  opt.set_upper_bounds(kReach);
  opt.set_xtol_abs(1e-5);
  auto objective = [](const std::vector<double>& v, std::vector<double>&, void* data) {
    auto* pair = static_cast<std::pair<Search*, nlopt::opt*>*>(data);
    return pair->first->evaluate(v, *pair->second);
  };
  std::pair<Search*, nlopt::opt*> data{&search, &opt};
  opt.set_min_objective(objective, &data);
  double value = 0;
  try {
    opt.optimize(x, value);
  } catch (const std::runtime_error&) {
    // Cancelled (forced stop), or converged as far as doubles tell: the best maps so far stand.
  }
  return search.outcome;
}

}  // namespace quill
