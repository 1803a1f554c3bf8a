#include "core/editor/panel_step.h"

namespace quill {

PanelSnapshot PanelSnapshot::of(const PanelState& state) {
  return {state.grid, state.caption, state.selectedPattern, state.computeFields};
}

void PanelSnapshot::restore(PanelState& state) const {
  state.grid = grid;
  state.caption = caption;
  state.selectedPattern = selectedPattern;
  state.computeFields = computeFields;
}

PanelStep::PanelStep(PanelState& state, PanelSnapshot before, const QString& text, StepKind kind,
                     std::uint64_t spell)
    : state_(state),
      before_(std::move(before)),
      after_(PanelSnapshot::of(state)),
      kind_(kind),
      spell_(spell) {
  setText(text);
}

void PanelStep::undo() { before_.restore(state_); }

// The first redo comes as the step is pushed, when the state already holds `after_`.
void PanelStep::redo() { after_.restore(state_); }

bool PanelStep::mergeWith(const QUndoCommand* other) {
  const auto* next = static_cast<const PanelStep*>(other);  // same id: a PanelStep
  if (next->spell_ != spell_) return false;
  after_ = next->after_;
  setObsolete(after_ == before_);
  return true;
}

bool recordStep(QUndoStack& steps, PanelState& state, const PanelSnapshot& before,
                const QString& text, StepKind kind, std::uint64_t spell) {
  if (PanelSnapshot::of(state) == before) return false;
  steps.push(new PanelStep(state, before, text, kind, spell));
  return true;
}

}  // namespace quill
