#include "core/document/document.h"

namespace quill {

void startUp(Document& document, float canvasWidthTwips, float canvasHeightTwips) {
  Module1& module1 = document.module1;
  module1.maps.clear();
  module1.paperColor = kWhite;
  module1.labelImages = false;
  module1.deriveDrawingSquare(canvasWidthTwips, canvasHeightTwips);
  Form_Load(document);
}

void Form_Load(Document& document) {
  // Position and size belong to the window; the rest is the panel's own state.
  PanelState& state = document.state;
  state.caption = kAppTitle;
  state.clearGrid();
  state.workR = state.workS = state.workAngle1 = state.workAngle2 = 0;
  state.workIndex = 0;
  state.patternLoaded.fill(false);
}

}  // namespace quill
