#include "app/qt_draw_runner.h"

#include <QProgressDialog>
#include <QWidget>

#include "core/document/dialogs.h"

namespace quill {

QtDrawRunner::QtDrawRunner(QWidget* dialogParent) : dialogParent_(dialogParent) {
  connect(&jobs_, &JobRunner::progressed, this, &QtDrawRunner::progressed);
  connect(&jobs_, &JobRunner::growing, this, &QtDrawRunner::growing);
}

QtDrawRunner::~QtDrawRunner() = default;

void QtDrawRunner::run(DrawTask task) {
  if (busy()) return;  // the panel takes no command while drawing; nothing should get here
  task.finish = [this, finish = std::move(task.finish)](const Status& status, bool complete) {
    if (dialog_) {
      dialog_->hide();
      dialog_->deleteLater();
    }
    emit busyChanged(false);
    if (finish) finish(status, complete);
  };
  emit busyChanged(true);
  elapsed_.start();
  jobs_.run(std::move(task));
}

void QtDrawRunner::progressed(int permille) {
  if (!dialog_ && elapsed_.elapsed() >= kDialogDelayMs) {
    dialog_ = new QProgressDialog(tr("Drawing..."), tr("Cancel"), 0, 1000, dialogParent_);
    dialog_->setObjectName(QStringLiteral("drawingProgress"));
    dialog_->setWindowTitle(kAppTitle);
    dialog_->setWindowModality(Qt::NonModal);
    dialog_->setMinimumDuration(0);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    connect(dialog_, &QProgressDialog::canceled, this, &QtDrawRunner::cancel);
    dialog_->show();
  }
  if (dialog_) dialog_->setValue(permille);
}

}  // namespace quill
