#pragma once

#include <QImage>
#include <functional>

#include "core/base/render_control.h"
#include "core/base/result.h"

namespace quill {

// The drawing half of a drawing command, packed so that it can run away from the UI thread. The
// functions own (share) copies of everything they read and write; nothing the UI thread touches
// is reached from `work` or `snapshot`.
struct DrawTask {
  // Draws, checking the control's cancel flag and reporting progress through it. Runs on a
  // worker thread in the program; false when cancelled.
  std::function<bool(const RenderControl&)> work;
  // The picture so far, taken on the thread that runs `work` while it reports progress, so the
  // canvas window can show it growing. May be empty.
  std::function<QImage()> snapshot;
  // Back on the UI thread once `work` has ended: a success (complete or cancelled, `finished`
  // telling which) or a failure (out of memory, no thread to be had) with its message.
  std::function<void(const Status& status, bool finished)> finish;
};

// Runs the work of a drawing command. The desktop program runs it on a worker thread and shows
// progress with a Cancel button; tests and the headless renderer run it at once.
class DrawRunner {
 public:
  virtual ~DrawRunner() = default;
  virtual void run(DrawTask task) = 0;
};

// Runs `work` with `task.work`'s failures caught as values: what the thread boundary of every
// runner does, so that no exception leaves a drawing.
Status runCaught(const DrawTask& task, const RenderControl& control, bool& finished);

// Runs the task on the calling thread, before returning.
class ImmediateRunner : public DrawRunner {
 public:
  void run(DrawTask task) override {
    bool finished = false;
    const Status status = runCaught(task, control, finished);
    task.finish(status, finished);
  }
  RenderControl control;
};

}  // namespace quill
