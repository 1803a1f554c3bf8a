#pragma once

#include <functional>

#include "core/base/render_control.h"

namespace quill {

// Runs the drawing half of a drawing command. The desktop program runs it on a worker thread
// and shows progress with a Cancel button; tests and the headless renderer run it at once.
class DrawRunner {
 public:
  virtual ~DrawRunner() = default;
  // Runs `work` with a control to check for cancellation and report progress, then `finish` on
  // the calling thread (after `work`, whether it completed or was cancelled).
  virtual void run(std::function<void(const RenderControl&)> work,
                   std::function<void()> finish) = 0;
};

// Runs the work on the calling thread, before returning.
class ImmediateRunner : public DrawRunner {
 public:
  void run(std::function<void(const RenderControl&)> work, std::function<void()> finish) override {
    work(control);
    finish();
  }
  RenderControl control;
};

}  // namespace quill
