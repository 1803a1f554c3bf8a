#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "core/base/render_control.h"
#include "core/base/result.h"
#include "core/collage/target.h"
#include "core/maps/weighted_map.h"

namespace quill {

// How a fit runs.
struct FitOptions {
  std::uint64_t seed = 1;
  // The work allowed, in seconds of a two-core machine: each step of the fit counts the time it
  // takes on the machine it was measured on, never the clock, so that the same options give the
  // same maps on any machine and any number of threads. A slower machine (or one core) takes
  // longer for the same fit.
  double seconds = 10;
  // Maps to seed when the fit starts from nothing (1 to 10).
  int mapCount = 0;
  // Called on the calling thread with each better system (p ∝ |det|), for a window to show it.
  std::function<void(const std::vector<WeightedMap>&)> improved;
};

struct FitOutcome {
  std::vector<WeightedMap> maps;  // the best system found, every map contracting, p ∝ |det|
  double chamfer = 0;             // its attractor's mean distance to the target both ways, units
  double covered = 0;             // share of the target within a cell of its attractor (fit grid)
  std::int64_t scores = 0;        // attractor scores spent
  bool converged = false;         // stopped: neither steps nor fits from elsewhere improved
  bool cancelled = false;         // stopped by the cancel flag: the best so far is given
};

inline const QString kFitMapCountMessage = QStringLiteral(
    QT_TRANSLATE_NOOP("Messages", "Fit to Target needs a number of maps from 1 to 10."));
inline const QString kFitTooManyMapsMessage =
    QStringLiteral(QT_TRANSLATE_NOOP("Messages", "Fit to Target fits at most 10 maps."));
inline const QString kFitNoTargetMessage =
    QStringLiteral(QT_TRANSLATE_NOOP("Messages", "There is no target shape to fit."));
inline const QString kFitBadMapsMessage = QStringLiteral(
    QT_TRANSLATE_NOOP("Messages", "Fit to Target needs maps whose coefficients are all numbers."));

// Improves `start` (1 to 10 maps) toward the target, keeping their number; with no maps, seeds
// options.mapCount maps from a cover of the target first (seedMaps). Runs the collage least
// squares, then searches on the attractor itself, each stage as long as it improves; then fits
// again from elsewhere (the best with one map turned and moved, or another cover) while that
// finds better maps and the work allowed lasts. Reports the share of the work done through
// `control`, looks at its cancel flag at least every few milliseconds (then gives the best so
// far), and works on control.threads threads (0: one per core) with the same result on any
// number. Fails with the messages above for a map count out of range, maps that are not
// numbers, or a target with no cells.
Result<FitOutcome> fitToTarget(const Target& target, std::span<const PlaneMap> start,
                               const FitOptions& options, const RenderControl& control);

}  // namespace quill
