#pragma once

#include <QUndoCommand>
#include <QUndoStack>
#include <array>
#include <cstdint>
#include <optional>

#include "core/maps/panel_state.h"

namespace quill {

// What an undo step keeps of the panel: what the user sees of the maps there. The grid, the
// caption, the pattern chosen last (the fractal's base figure follows it) and the fields of
// Compute Parameters. The count is not kept: no command changes it, and its field undoes its own
// typing.
struct PanelSnapshot {
  decltype(PanelState::grid) grid;
  QString caption;
  std::optional<int> selectedPattern;
  std::array<QString, kComputeFieldCount> computeFields;

  static PanelSnapshot of(const PanelState& state);
  void restore(PanelState& state) const;
  bool operator==(const PanelSnapshot&) const = default;
};

// Which steps fold into one (the undo command's id): the moves of one drag in the map editor,
// the keys of one spell of typing in one field. A command is a step of its own.
enum class StepKind : int { Command = -1, Drag = 1, Typing = 2 };

// One undo step of the panel: the snapshots before and after it. Undo and redo give back the
// very texts, caption and pattern each held, however often they run.
class PanelStep : public QUndoCommand {
 public:
  // The step from `before` to what `state` holds now. Steps of one kind and `spell` (a drag, a
  // spell of typing) fold into the first, which then ends where the last ends.
  PanelStep(PanelState& state, PanelSnapshot before, const QString& text, StepKind kind,
            std::uint64_t spell);

  void undo() override;
  void redo() override;
  int id() const override { return int(kind_); }
  bool mergeWith(const QUndoCommand* other) override;

 private:
  PanelState& state_;
  PanelSnapshot before_;
  PanelSnapshot after_;
  StepKind kind_;
  std::uint64_t spell_;
};

// Records the change from `before` to what `state` holds now as a step named `text` on `steps`,
// folded into the last step where kind and spell match (a fold that comes back to where the step
// began takes the step away). Records nothing when nothing changed, so that a command that
// changed nothing keeps the steps to redo. True when the state had changed.
bool recordStep(QUndoStack& steps, PanelState& state, const PanelSnapshot& before,
                const QString& text, StepKind kind = StepKind::Command, std::uint64_t spell = 0);

}  // namespace quill
