#pragma once

#include <vector>

#include "core/maps/panel_state.h"

namespace quill {

// The undo history of the map grid's texts. A step is whatever changed between two commits: one
// drag in the map editor, one key press, one panel command, or a spell of typing. Steps restore
// the very texts they held, so any number of undos and redos gives back the same grid.
class GridHistory {
 public:
  using Grid = decltype(PanelState::grid);

  explicit GridHistory(PanelState& state) : state_(state), committed_(state.grid) {}

  // Ends a step: when the grid's texts differ from those of the last commit, the earlier texts
  // become an undo step and the redo steps are dropped.
  void commit();
  // Undoes the last step (a pending change is committed first); false when there is none.
  bool undo();
  bool redo();
  bool canUndo() const { return !undo_.empty() || state_.grid != committed_; }
  bool canRedo() const { return !redo_.empty(); }

  static constexpr std::size_t kMaxSteps = 1000;

 private:
  // Undo and redo alike: the last texts of `from` come back, the present ones go onto `to`.
  bool step(std::vector<Grid>& from, std::vector<Grid>& to);

  PanelState& state_;
  Grid committed_;
  std::vector<Grid> undo_;
  std::vector<Grid> redo_;
};

}  // namespace quill
