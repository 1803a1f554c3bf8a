#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QObject>
#include <QPointer>

#include "app/job_runner.h"
#include "core/document/draw_runner.h"

class QProgressDialog;
class QWidget;

namespace quill {

// Runs the panel's drawings on a JobRunner so the windows keep repainting. Half a second into a
// drawing a progress dialog shows how far it is and offers Cancel; it is not modal, since the
// panel takes no command meanwhile anyway (`busyChanged(true)`), so no event loop ever runs
// nested in another. A few times a second the canvas window gets a copy of the growing picture
// (`growing`). Failures inside the drawing (no memory, no thread) come back as values to the
// task's finish step, never as exceptions.
class QtDrawRunner : public QObject, public DrawRunner {
  Q_OBJECT

 public:
  explicit QtDrawRunner(QWidget* dialogParent);
  // Cancels a drawing still running and waits for it; its finish step never runs.
  ~QtDrawRunner() override;

  void run(DrawTask task) override;

  bool busy() const { return jobs_.busy(); }
  // Asks the running drawing to stop; it stops within a batch of work.
  void cancel() { jobs_.cancel(); }

  static constexpr int kDialogDelayMs = 500;

 signals:
  void busyChanged(bool busy);
  // The running drawing's picture so far (its ink, no background).
  void growing(const QImage& ink);

 private:
  void progressed(int permille);

  QWidget* dialogParent_;
  QElapsedTimer elapsed_;
  QPointer<QProgressDialog> dialog_;  // owned by its parent window
  JobRunner jobs_;                    // last: a drawing still running ends before the rest goes
};

}  // namespace quill
