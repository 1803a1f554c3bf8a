#include "core/editor/grid_history.h"

namespace quill {

void GridHistory::commit() {
  if (state_.grid == committed_) return;
  undo_.push_back(committed_);
  if (undo_.size() > kMaxSteps) undo_.erase(undo_.begin());
  redo_.clear();
  committed_ = state_.grid;
}

bool GridHistory::undo() {
  commit();
  if (undo_.empty()) return false;
  redo_.push_back(state_.grid);
  state_.grid = undo_.back();
  undo_.pop_back();
  committed_ = state_.grid;
  return true;
}

bool GridHistory::redo() {
  commit();
  if (redo_.empty()) return false;
  undo_.push_back(state_.grid);
  state_.grid = redo_.back();
  redo_.pop_back();
  committed_ = state_.grid;
  return true;
}

}  // namespace quill
