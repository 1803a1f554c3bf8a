#pragma once

#include <QObject>
#include <memory>
#include <vector>

#include "app/job_runner.h"
#include "app/latest_result.h"
#include "core/collage/target.h"
#include "core/editor/panel_step.h"
#include "core/maps/weighted_map.h"

namespace quill {

struct Document;

// "Fit to Target": improves the grid's maps toward the target on a worker, writing each better
// system into the grid as it comes, until it converges, its work is done or Stop. The whole fit
// is one undo step on the document's stack, whatever it showed on the way.
class TargetFit : public QObject {
  Q_OBJECT

 public:
  explicit TargetFit(Document& document, QObject* parent = nullptr);
  ~TargetFit() override;

  // Starts a fit of the grid's maps to `target` that searches `seconds` at most; an empty grid
  // asks how many maps to seed.
  // Shows what keeps it from starting (a row that does not read) and returns false then, or when
  // the user cancels the question.
  bool start(std::shared_ptr<const Target> target, double seconds);
  // Ends the fit soon, with the best maps so far.
  void stop();
  // Ends a fit under way now: when this returns its best maps are in the grid as one step, and
  // the grid is the user's again. Waits for the fit's last batch, a fraction of a second.
  void settle();
  bool running() const { return runner_.busy(); }

 signals:
  // The grid holds better maps.
  void improved();
  // The fit is over: its maps are in the grid, recorded as one step.
  void ended();

 private:
  void take();

  Document& document_;
  PanelSnapshot before_;
  LatestResult<std::vector<WeightedMap>> latest_;
  std::uint64_t fits_ = 0;  // each fit from a seed of its own, so that fitting again tries anew
  JobRunner runner_;        // last: its worker uses the members above until it is joined
};

}  // namespace quill
