#include "app/qt_draw_runner.h"

#include <QProgressDialog>
#include <QWidget>
#include <system_error>

namespace quill {

namespace {

constexpr int kPollMs = 40;  // how often the dialog's bar and the window follow the drawing

}  // namespace

QtDrawRunner::QtDrawRunner(QWidget* dialogParent) : dialogParent_(dialogParent) {
  poller_.setInterval(kPollMs);
  connect(&poller_, &QTimer::timeout, this, &QtDrawRunner::poll);
}

QtDrawRunner::~QtDrawRunner() {
  if (worker_.joinable()) {
    cancel();
    worker_.join();
  }
}

void QtDrawRunner::run(DrawTask task) {
  if (busy_) return;  // the panel takes no command while drawing; nothing should get here
  cancel_.store(false);
  permille_.store(0);
  latest_ = QImage();
  finished_ = false;
  task_ = std::move(task);
  busy_ = true;
  emit busyChanged(true);
  elapsed_.start();
  lastSnapshot_ = std::chrono::steady_clock::now();
  try {
    worker_ = std::thread([this] {
      RenderControl control;
      control.cancel = &cancel_;
      control.progress = [this](double done) { progress(done); };
      bool complete = false;
      const Status status = runCaught(task_, control, complete);
      {
        const std::lock_guard lock(handover_);
        status_ = status;
        finished_ = complete;
      }
      // Back on the UI thread: the drawing is complete, cancelled or failed.
      QMetaObject::invokeMethod(this, &QtDrawRunner::finished, Qt::QueuedConnection);
    });
  } catch (const std::system_error&) {
    status_ = Failure{kNoThreadMessage};
    QMetaObject::invokeMethod(this, &QtDrawRunner::finished, Qt::QueuedConnection);
    return;
  }
  poller_.start();
}

void QtDrawRunner::progress(double done) {
  permille_.store(int(std::clamp(done, 0.0, 1.0) * 1000), std::memory_order_relaxed);
  const auto now = std::chrono::steady_clock::now();
  if (!task_.snapshot || now - lastSnapshot_ < kGrowingPictureInterval) return;
  lastSnapshot_ = now;
  QImage picture = task_.snapshot();
  const std::lock_guard lock(handover_);
  latest_ = std::move(picture);
}

void QtDrawRunner::poll() {
  if (!dialog_ && elapsed_.elapsed() >= kDialogDelayMs) {
    dialog_ = new QProgressDialog(QStringLiteral("Drawing..."), QStringLiteral("Cancel"), 0, 1000,
                                  dialogParent_);
    dialog_->setObjectName(QStringLiteral("drawingProgress"));
    dialog_->setWindowTitle(QStringLiteral("Quillmere"));
    dialog_->setWindowModality(Qt::NonModal);
    dialog_->setMinimumDuration(0);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    connect(dialog_, &QProgressDialog::canceled, this, &QtDrawRunner::cancel);
    dialog_->show();
  }
  if (dialog_) dialog_->setValue(permille_.load(std::memory_order_relaxed));
  QImage picture;
  {
    const std::lock_guard lock(handover_);
    picture = std::move(latest_);
    latest_ = QImage();
  }
  if (!picture.isNull()) emit growing(picture);
}

void QtDrawRunner::finished() {
  if (worker_.joinable()) worker_.join();
  poller_.stop();
  if (dialog_) {
    dialog_->hide();
    dialog_->deleteLater();
  }
  busy_ = false;
  emit busyChanged(false);
  // The finish step may start a new drawing: the runner is idle by now.
  DrawTask task = std::move(task_);
  task_ = DrawTask();
  Status status;
  bool complete = false;
  {
    const std::lock_guard lock(handover_);
    status = status_;
    complete = finished_;
    status_ = Status();
  }
  if (task.finish) task.finish(status, complete);
}

}  // namespace quill
