// The panel's tool windows: the map editor, the maths report and the picture dialog, each a
// window of the panel's opened beside its controls, and the grid kept in step between them.

#include <QScreen>
#include <algorithm>

#include "app/control_panel.h"
#include "app/map_editor.h"
#include "app/maths_report_window.h"
#include "app/picture_dialog.h"

namespace quill {

namespace {

void bringToFront(QWidget& window) {
  window.show();
  window.raise();
  window.activateWindow();
}

}  // namespace

void ControlPanel::gridChanged() {
  if (mapEditor_) mapEditor_->gridChanged();
  if (mathsReport_) mathsReport_->gridChanged();
}

void ControlPanel::gridEditedInEditor() {
  refreshFromState();
  if (mathsReport_) mathsReport_->gridChanged();
}

void ControlPanel::gridEditedInReport() {
  refreshFromState();
  if (mapEditor_) mapEditor_->gridChanged();
}

void ControlPanel::openMapEditor() {
  if (!mapEditor_) {
    // A window of the panel's, as the report and the picture dialog are: it stays in front of the
    // panel, which fills most of the screen, while the user types in the grid.
    mapEditor_ = std::make_unique<MapEditor>(editorModel_, this);
    connect(mapEditor_.get(), &MapEditor::gridEdited, this, &ControlPanel::gridEditedInEditor);
    // Beside the panel's controls, which fill its top-left corner, and within the screen.
    const QRect panel = geometry();
    const QRect screen = this->screen()->availableGeometry();
    const int left = panel.left() + px(9500);
    mapEditor_->move(left, panel.top());
    mapEditor_->resize(std::clamp(screen.right() - left - 20, 320, 720),
                       std::clamp(screen.height() - 80, 360, 760));
  }
  editorModel_.syncFromGrid();
  mapEditor_->gridChanged();
  bringToFront(*mapEditor_);
}

void ControlPanel::openMathsReport() {
  if (!mathsReport_) {
    // A window of the panel's: it stays in front of the panel, which fills most of the screen,
    // so it is not lost behind it while the user types in the grid.
    mathsReport_ = std::make_unique<MathsReportWindow>(editorModel_, this);
    connect(mathsReport_.get(), &MathsReportWindow::gridEdited, this,
            &ControlPanel::gridEditedInReport);
    // Right of the panel's controls, or right of the map editor where the screen has room;
    // otherwise below the panel's controls, which leave the rest of its window empty.
    const QRect screen = this->screen()->availableGeometry();
    const QPoint below = client_->mapToGlobal(QPoint(0, px(6510)));
    QPoint place(geometry().left() + px(9500), geometry().top());
    int right = screen.right();
    if (mapEditor_ && mapEditor_->isVisible()) {
      const QRect editor = mapEditor_->frameGeometry();
      if (screen.right() - editor.right() >= 480) {
        place = QPoint(editor.right() + 10, editor.top());
      } else {
        place = QPoint(below.x(), below.y() + 8);
        right = editor.left();
      }
    }
    const int frame = frameGeometry().height() - geometry().height();  // the title bar
    mathsReport_->move(place);
    mathsReport_->resize(std::clamp(right - place.x() - 20, 320, 640),
                         std::clamp(screen.bottom() - place.y() - frame - 30, 240, 560));
  }
  editorModel_.syncFromGrid();
  bringToFront(*mathsReport_);
}

void ControlPanel::openPictureDialog() {
  if (!pictureDialog_) {
    // A window of the panel's, in front of it, beside the panel's controls.
    pictureDialog_ = std::make_unique<PictureDialog>(document_, this);
    pictureDialog_->move(geometry().left() + px(9500), geometry().top());
  }
  // Opened afresh, it starts from the document's colours; already open, it keeps the user's.
  if (!pictureDialog_->isVisible()) pictureDialog_->takeDocumentColours();
  bringToFront(*pictureDialog_);
}

}  // namespace quill
