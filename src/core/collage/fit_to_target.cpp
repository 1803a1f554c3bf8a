#include "core/collage/fit_to_target.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/base/chaos_random.h"
#include "core/base/task_pool.h"
#include "core/collage/attractor_score.h"
#include "core/collage/attractor_search.h"
#include "core/collage/collage_least_squares.h"
#include "core/collage/cover_seeds.h"
#include "core/collage/fit_maps.h"

namespace quill {

namespace {

constexpr int kFitFactor = 2;  // the fit works on the target at 256 cells a unit
// The searches first score on a coarse target, quickly, then on the fit's own.
struct SearchLevel {
  int factor;            // of the fit's target
  std::uint64_t points;  // of each attractor scored
  double firstStep;      // of each coefficient
  double cost;           // of a score, in microseconds of one core (BM_FitScoreFern)
};
constexpr std::array<SearchLevel, 2> kLevels = {
    {{2, 30'000, 0.02, 250}, {1, 100'000, 0.004, 1200}}};
constexpr std::uint64_t kScorePoints = 100'000;  // points of each attractor judged
constexpr double kJudgeCost = 1200;              // microseconds of one core, as a fine score
// The work of a second: two cores' microseconds, on the machine the costs were measured on.
constexpr double kWorkPerSecond = 2e6;
constexpr int kSamples = 8192;               // target cells the least squares carry
constexpr double kPull = 1;                  // an uncovered cell's pull against an image's pairing
constexpr int kLeastSquaresSteps = 400;      // at most, while they improve
constexpr int kLeastSquaresStale = 6;        // steps without improvement that end them
constexpr double kLeastSquaresCost = 3000;   // microseconds of one core a step costs
constexpr int kSearches = 2;                 // searches of a round, each on a thread of its own
constexpr std::int64_t kRoundScores = 1000;  // scores of each search in a round
constexpr double kLeastStep = 1e-4;
constexpr int kStaleRounds = 3;        // rounds without improvement that end a search
constexpr double kImprovement = 1e-3;  // relative: less is no improvement
constexpr int kStaleHops = 8;          // fits from elsewhere in a row without a better one

bool finite(const PlaneMap& m) {
  return std::isfinite(m.a) && std::isfinite(m.b) && std::isfinite(m.c) && std::isfinite(m.d) &&
         std::isfinite(m.e) && std::isfinite(m.f);
}

// A seed of its own for search k of round r, far from the judge's.
std::uint64_t searchSeed(std::uint64_t seed, int round, int k) {
  return seed * 0x9E3779B97F4A7C15ULL + std::uint64_t(round) * kSearches + std::uint64_t(k) + 1;
}

class Fit {
 public:
  Fit(const Target& target, const FitOptions& options, const RenderControl& control)
      : target_(target),
        options_(options),
        control_(control),
        judge_(target, kScorePoints),
        budget_(std::max(1.0, options.seconds * kWorkPerSecond)) {
    for (const SearchLevel& level : kLevels) {
      levelTargets_.push_back(level.factor == 1 ? target : coarsenTarget(target, level.factor));
    }
  }

  FitOutcome run(std::vector<PlaneMap> maps, bool fromNothing) {
    best_ = maps;
    bestScore_ = judged(best_);
    refine(maps);
    // Work left once a fit settles goes to fits from elsewhere: a map of the best turned and
    // moved at random, or (from nothing) a cover from another seed; the best of all stands. The
    // fit has converged when kStaleHops of them in a row found nothing better.
    int staleHops = 0;
    for (std::uint64_t hop = 1; !stopped() && staleHops < kStaleHops; ++hop) {
      ChaosRandom random(options_.seed * 0x9E3779B97F4A7C15ULL + hop);
      const double before = bestScore_;
      refine(fromNothing && hop % 2 == 1 ? seedMaps(target_, int(best_.size()), options_.seed + hop)
                                         : hopMaps(target_, best_, random));
      staleHops = bestScore_ < before ? 0 : staleHops + 1;
    }
    converged_ = staleHops >= kStaleHops;
    FitOutcome outcome;
    outcome.maps = withDetShares(best_);
    const AttractorScore last = judge_.score(best_, options_.seed);
    outcome.chamfer = last.chamfer;
    outcome.covered = last.covered;
    outcome.scores = scores_;
    outcome.converged = converged_;
    outcome.cancelled = control_.cancelled();
    return outcome;
  }

 private:
  // The maps of one fit from one start, and their score.
  struct Local {
    std::vector<PlaneMap> maps;
    double score = 0;
  };

  double judged(const std::vector<PlaneMap>& maps) {
    spent_ += kJudgeCost;
    ++scores_;
    return searchScore(judge_.score(maps, options_.seed), target_.mask.grid.cellSize());
  }

  // Takes `maps` as the local fit's when they score better, and as the best of all when better
  // than that; true when the local fit improved.
  bool consider(Local& local, const std::vector<PlaneMap>& maps, double score) {
    if (!(score < local.score * (1 - kImprovement))) return false;
    local = {maps, score};
    if (score < bestScore_) {
      best_ = maps;
      bestScore_ = score;
      if (options_.improved) options_.improved(withDetShares(best_));
    }
    return true;
  }

  bool stopped() const { return control_.cancelled() || spent_ >= budget_; }

  void refine(const std::vector<PlaneMap>& start) {
    Local local{start, judged(start)};
    leastSquares(local, start);
    // Maps left in a wrong turn: each turned the best way, fitted again, kept if better.
    leastSquares(local, turnMaps(target_, local.maps));
    for (std::size_t level = 0; level < kLevels.size() && !stopped(); ++level) {
      search(local, levelTargets_[level], kLevels[level]);
    }
  }

  void leastSquares(Local& local, std::vector<PlaneMap> current) {
    CollageLeastSquares squares(target_, kSamples);
    int stale = 0;
    for (int step = 0; step < kLeastSquaresSteps && !stopped(); ++step) {
      current = squares.step(current, kPull);
      spent_ += kLeastSquaresCost;
      stale = consider(local, current, judged(current)) ? 0 : stale + 1;
      if (stale >= kLeastSquaresStale) break;
      control_.report(spent_ / budget_);
    }
  }

  void search(Local& local, const Target& target, const SearchLevel& level) {
    double step = level.firstStep;
    int stale = 0;
    for (int round = 0; !stopped(); ++round) {
      std::array<SearchOutcome, kSearches> outcomes;
      const double before = spent_;
      RenderControl roundControl;
      roundControl.cancel = control_.cancel;
      roundControl.progress = [&](double share) {
        control_.report(
            std::min(1.0, (before + share * kSearches * kRoundScores * level.cost) / budget_));
      };
      const std::vector<PlaneMap> start = local.maps;
      const int threads = control_.threads > 0 ? control_.threads : defaultDrawingThreads();
      runTasks(kSearches, threads, roundControl, [&](std::int64_t k) {
        const SearchSettings settings{step * (k == 0 ? 1 : 0.25), kRoundScores, level.points,
                                      searchSeed(options_.seed, rounds_ + round, int(k))};
        outcomes[std::size_t(k)] = searchAttractor(target, start, settings, roundControl);
        return !outcomes[std::size_t(k)].cancelled;
      });
      for (const SearchOutcome& o : outcomes) {
        spent_ += double(o.evaluations) * level.cost;
        scores_ += o.evaluations;
      }
      if (control_.cancelled()) return;
      bool better = false;
      for (const SearchOutcome& o : outcomes) {
        if (!o.maps.empty()) better = consider(local, o.maps, judged(o.maps)) || better;
      }
      control_.report(std::min(1.0, spent_ / budget_));
      if (better) {
        stale = 0;
        continue;
      }
      step *= 0.5;
      if (++stale >= kStaleRounds || step < kLeastStep) {
        rounds_ += round + 1;
        return;
      }
    }
  }

  const Target& target_;
  const FitOptions& options_;
  const RenderControl& control_;
  std::vector<Target> levelTargets_;
  AttractorScorer judge_;
  double budget_;
  double spent_ = 0;  // of budget_
  std::int64_t scores_ = 0;
  int rounds_ = 0;  // of searches ended, so that every round has seeds of its own
  std::vector<PlaneMap> best_;
  double bestScore_ = 0;
  bool converged_ = false;
};

}  // namespace

Result<FitOutcome> fitToTarget(const Target& target, std::span<const PlaneMap> start,
                               const FitOptions& options, const RenderControl& control) {
  if (start.size() > 10) return Failure{kFitTooManyMapsMessage};
  if (start.empty() && (options.mapCount < 1 || options.mapCount > 10)) {
    return Failure{kFitMapCountMessage};
  }
  if (!std::all_of(start.begin(), start.end(), finite)) return Failure{kFitBadMapsMessage};
  if (target.cellList.empty()) return Failure{kFitNoTargetMessage};

  const Target fitTarget = coarsenTarget(target, kFitFactor);
  std::vector<PlaneMap> maps;
  if (start.empty()) {
    maps = seedMaps(fitTarget, options.mapCount, options.seed);
  } else {
    for (const PlaneMap& m : start) maps.push_back(clampStretch(m, kFitStretch));
  }
  Fit fit(fitTarget, options, control);
  FitOutcome outcome = fit.run(std::move(maps), start.empty());
  control.report(1);
  return outcome;
}

}  // namespace quill
