// The control panel's files opened from outside its menus: the command line and drops.
#include <QFileInfo>
#include <QLineEdit>

#include "app/control_panel.h"
#include "app/file_drop.h"
#include "app/map_editor.h"
#include "app/picture_dialog.h"
#include "core/commands/open_file.h"
#include "core/document/document.h"
#include "core/editor/panel_step.h"
#include "core/picture/picture_carrier.h"

namespace quill {

void ControlPanel::acceptFileDrops() {
  fileDrop_ = new FileDrop(this);
  fileDrop_->watch(this);
  for (QLineEdit* field : client_->findChildren<QLineEdit*>()) fileDrop_->watch(field);
  connect(fileDrop_, &FileDrop::filesDropped, this, &ControlPanel::openFiles);
}

void ControlPanel::openFiles(const QStringList& paths) {
  for (const QString& path : paths) {
    const PanelSnapshot before = PanelSnapshot::of(state_);
    const std::optional<OpenedFile> opened = openFile(document_, path);
    refreshFromState();
    recordStep(document_.undoStack, state_, before,
               QStringLiteral("Open %1").arg(QFileInfo(path).fileName()));
    editorModel_.syncFromGrid();
    gridChanged();
    if (opened == OpenedFile::Picture) {
      // The record was read whole a moment ago; the window takes the picture's settings.
      if (const Result<PictureRecord> record = readPictureRecord(path)) {
        openPictureDialog();
        pictureDialog_->takeSettings(*record);
      }
    }
  }
}

}  // namespace quill
