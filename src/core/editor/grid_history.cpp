#include "core/editor/grid_history.h"

namespace quill {

void GridHistory::commit() {
  if (state_.grid == committed_) return;
  undo_.push_back(committed_);
  if (undo_.size() > kMaxSteps) undo_.erase(undo_.begin());
  redo_.clear();
  committed_ = state_.grid;
}

bool GridHistory::undo() { return step(undo_, redo_); }

bool GridHistory::redo() { return step(redo_, undo_); }

bool GridHistory::step(std::vector<Grid>& from, std::vector<Grid>& to) {
  commit();
  if (from.empty()) return false;
  to.push_back(state_.grid);
  state_.grid = from.back();
  from.pop_back();
  committed_ = state_.grid;
  return true;
}

}  // namespace quill
