#include "core/document/document.h"

#include "core/document/dialogs.h"

namespace quill {

Panel::Panel(PanelState& state, Module1& module1, CanvasWindow& form1, Dialogs& dialogs,
             Printer& printer)
    : state_(state), module1_(module1), form1_(form1), dialogs_(dialogs), printer_(printer) {}

void Panel::Form_Load() {
  // Position and size belong to the window (Form2); the rest is the panel's own state.
  state_.caption = kAppTitle;
  state_.clearGrid();
  state_.workR = state_.workS = state_.workAngle1 = state_.workAngle2 = 0;
  state_.workIndex = 0;
  for (int i = 0; i <= 12; ++i) state_.patternLoaded[i] = false;
}

}  // namespace quill
