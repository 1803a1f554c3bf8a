#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "core/document/draw_runner.h"

class QProgressDialog;
class QWidget;

namespace quill {

// Runs drawings on a worker thread so the windows keep repainting. Half a second into a drawing
// a progress dialog shows how far it is and offers Cancel; it is not modal, since the panel
// takes no command meanwhile anyway (`busyChanged(true)`), so no event loop ever runs nested in
// another. A few times a second the worker hands over a copy of the growing picture
// (`growing`). Failures inside the drawing (no memory, no thread) come back as values to the
// task's finish step, never as exceptions.
class QtDrawRunner : public QObject, public DrawRunner {
  Q_OBJECT

 public:
  explicit QtDrawRunner(QWidget* dialogParent);
  // Cancels a drawing still running and waits for it; its finish step never runs.
  ~QtDrawRunner() override;

  void run(DrawTask task) override;

  bool busy() const { return busy_; }
  // Asks the running drawing to stop; it stops within a batch of work.
  void cancel() { cancel_.store(true, std::memory_order_relaxed); }

  static constexpr int kDialogDelayMs = 500;
  static constexpr std::chrono::milliseconds kGrowingPictureInterval{150};

 signals:
  void busyChanged(bool busy);
  // The running drawing's picture so far (its ink, no background).
  void growing(const QImage& ink);

 private:
  void poll();
  void finished();
  // On the worker, from the drawing's progress reports.
  void progress(double done);

  QWidget* dialogParent_;
  DrawTask task_;
  std::thread worker_;
  bool busy_ = false;
  std::atomic<bool> cancel_{false};
  std::atomic<int> permille_{0};  // progress of the running drawing, 0 to 1000
  // What the worker hands back: the latest picture, and when the drawing ended its outcome.
  std::mutex handover_;
  QImage latest_;
  Status status_;
  bool finished_ = false;
  std::chrono::steady_clock::time_point lastSnapshot_;  // the worker's own
  QTimer poller_;
  QElapsedTimer elapsed_;
  QPointer<QProgressDialog> dialog_;  // owned by its parent window
};

}  // namespace quill
