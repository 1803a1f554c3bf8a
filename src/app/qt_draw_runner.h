#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <atomic>
#include <functional>
#include <thread>

#include "core/document/draw_runner.h"

class QProgressDialog;
class QWidget;

namespace quill {

// Runs drawings on a worker thread so the windows keep repainting. Half a second into a drawing
// a window-modal progress dialog shows how far it is and offers Cancel. While a drawing runs,
// `busyChanged(true)` tells the panel to take no other command.
class QtDrawRunner : public QObject, public DrawRunner {
  Q_OBJECT

 public:
  explicit QtDrawRunner(QWidget* dialogParent);
  // Cancels a drawing still running and waits for it.
  ~QtDrawRunner() override;

  void run(std::function<void(const RenderControl&)> work, std::function<void()> finish) override;

  bool busy() const { return worker_.joinable(); }
  // Asks the running drawing to stop; it stops within a batch of work.
  void cancel() { cancel_.store(true, std::memory_order_relaxed); }

  static constexpr int kDialogDelayMs = 500;

 signals:
  void busyChanged(bool busy);

 private:
  void poll();
  void finished();

  QWidget* dialogParent_;
  std::thread worker_;
  std::atomic<bool> cancel_{false};
  std::atomic<int> permille_{0};  // progress of the running drawing, 0 to 1000
  std::function<void()> finish_;
  QTimer poller_;
  QElapsedTimer elapsed_;
  QPointer<QProgressDialog> dialog_;
};

}  // namespace quill
