#include "app/qt_draw_runner.h"

#include <QProgressDialog>
#include <QWidget>

namespace quill {

namespace {

constexpr int kPollMs = 40;  // how often the dialog's bar follows the drawing

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
  delete dialog_;
}

void QtDrawRunner::run(std::function<void(const RenderControl&)> work,
                       std::function<void()> finish) {
  if (busy()) return;  // the panel takes no command while drawing; nothing should get here
  cancel_.store(false);
  permille_.store(0);
  finish_ = std::move(finish);
  emit busyChanged(true);
  elapsed_.start();
  poller_.start();
  worker_ = std::thread([this, work = std::move(work)] {
    RenderControl control;
    control.cancel = &cancel_;
    control.progress = [this](double done) {
      permille_.store(int(std::clamp(done, 0.0, 1.0) * 1000), std::memory_order_relaxed);
    };
    work(control);
    // Back on the UI thread: the drawing is complete or cancelled.
    QMetaObject::invokeMethod(this, &QtDrawRunner::finished, Qt::QueuedConnection);
  });
}

void QtDrawRunner::poll() {
  if (!dialog_ && elapsed_.elapsed() >= kDialogDelayMs) {
    dialog_ = new QProgressDialog(QStringLiteral("Drawing..."), QStringLiteral("Cancel"), 0, 1000,
                                  dialogParent_);
    dialog_->setObjectName(QStringLiteral("drawingProgress"));
    dialog_->setWindowTitle(QStringLiteral("Quillmere"));
    dialog_->setWindowModality(Qt::WindowModal);
    dialog_->setMinimumDuration(0);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    connect(dialog_, &QProgressDialog::canceled, this, &QtDrawRunner::cancel);
    dialog_->show();
  }
  if (dialog_) dialog_->setValue(permille_.load(std::memory_order_relaxed));
}

void QtDrawRunner::finished() {
  worker_.join();
  poller_.stop();
  if (dialog_) {
    dialog_->hide();
    dialog_->deleteLater();
  }
  emit busyChanged(false);
  // The finish step may start nothing new, but keep it last: the runner is idle by now.
  std::function<void()> finish = std::move(finish_);
  finish_ = nullptr;
  if (finish) finish();
}

}  // namespace quill
