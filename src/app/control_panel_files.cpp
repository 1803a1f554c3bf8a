// The control panel's files opened from outside its menus: the command line, drops and
// "Recent Files".
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>

#include "app/control_panel.h"
#include "app/file_drop.h"
#include "app/map_editor.h"
#include "app/picture_dialog.h"
#include "app/target_fit.h"
#include "core/commands/open_file.h"
#include "core/commands/show_if_failed.h"
#include "core/document/document.h"
#include "core/editor/panel_step.h"
#include "core/picture/picture_carrier.h"

namespace quill {

void ControlPanel::acceptFileDrops() {
  fileDrop_ = new FileDrop(this);
  fileDrop_->watch(this);
  for (QLineEdit* field : client_->findChildren<QLineEdit*>()) fileDrop_->watch(field);
  connect(fileDrop_, &FileDrop::filesDropped, this, &ControlPanel::openFiles);
  document_.fileUsed = [this](const QString& path, const QString& entry) {
    recentFiles_->add(path, entry);
  };
}

void ControlPanel::openFiles(const QStringList& paths) {
  targetFit_->settle();
  for (const QString& path : paths) {
    const PanelSnapshot before = PanelSnapshot::of(state_);
    const std::optional<OpenedFile> opened = openFile(document_, path);
    refreshFromState();
    recordStep(document_.undoStack, state_, before, tr("Open %1").arg(QFileInfo(path).fileName()));
    editorModel_.syncFromGrid();
    gridChanged();
    // An .ifs entry is noted by the import itself, with its name.
    if (opened && *opened != OpenedFile::Ifs) recentFiles_->add(path);
    if (opened == OpenedFile::Picture) {
      // The record was read whole a moment ago; the window takes the picture's settings.
      if (const Result<PictureRecord> record = readPictureRecord(path)) {
        openPictureDialog();
        pictureDialog_->takeSettings(*record);
      }
    }
  }
}

void ControlPanel::openRecent(const RecentFile& file) {
  if (file.entry.isEmpty()) {
    openFiles({file.path});
    return;
  }
  targetFit_->settle();
  const PanelSnapshot before = PanelSnapshot::of(state_);
  const Status opened = openIfsEntryFrom(document_, file.path, file.entry);
  showIfFailed(document_.dialogs, opened);
  refreshFromState();
  recordStep(document_.undoStack, state_, before, tr("Open %1").arg(file.entry));
  editorModel_.syncFromGrid();
  gridChanged();
  if (opened) recentFiles_->add(file.path, file.entry);
}

void ControlPanel::addRecentFilesMenu(QMenu* tools) {
  tools->addSeparator();
  QMenu* menu = tools->addMenu(tr("Recent Files"));
  menu->setObjectName(QStringLiteral("recentFilesMenu"));
  connect(menu, &QMenu::aboutToShow, this, [this, menu] {
    menu->clear();
    int number = 0;
    for (const RecentFile& file : recentFiles_->files()) {
      ++number;
      QString text = QFileInfo(file.path).fileName();
      if (!file.entry.isEmpty()) text += QStringLiteral(" \u2014 %1").arg(file.entry);
      // The first nine take their number as the key; "&&" shows a name's own ampersand.
      text.replace(u'&', QStringLiteral("&&"));
      if (number <= 9) text = QStringLiteral("&%1 %2").arg(number).arg(text);
      QAction* action = menu->addAction(text);
      action->setObjectName(QStringLiteral("recentFile_%1").arg(number));
      action->setToolTip(QDir::toNativeSeparators(file.path));
      connect(action, &QAction::triggered, this, [this, file] { openRecent(file); });
    }
    if (number == 0) menu->addAction(tr("No Recent Files"))->setEnabled(false);
    menu->addSeparator();
    QAction* clear = menu->addAction(tr("Clear Recent Files"));
    clear->setObjectName(QStringLiteral("clearRecentFiles"));
    clear->setEnabled(number > 0);
    connect(clear, &QAction::triggered, recentFiles_, [this] { recentFiles_->setFiles({}); });
  });
}

}  // namespace quill
