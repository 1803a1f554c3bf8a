#include "core/document/document.h"

namespace quill {

void startUp(Document& document, float canvasWidthTwips, float canvasHeightTwips) {
  DrawingState& drawing = document.drawing;
  drawing.maps.clear();
  drawing.paperColor = kWhite;
  drawing.labelImages = false;
  drawing.square = DrawingSquare::onCanvas(canvasWidthTwips, canvasHeightTwips);
  resetPanel(document);
}

void resetPanel(Document& document) {
  // Position and size belong to the window; the rest is the panel's own state.
  PanelState& state = document.state;
  state.caption = kAppTitle;
  state.clearGrid();
  state.workR = state.workS = state.workAngle1 = state.workAngle2 = 0;
  state.workIndex = 0;
  state.patternLoaded.fill(false);
}

}  // namespace quill
