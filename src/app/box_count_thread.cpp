#include "app/box_count_thread.h"

namespace quill {

BoxCountThread::BoxCountThread() : worker_([this] { run(); }) {}

BoxCountThread::~BoxCountThread() {
  {
    const std::lock_guard lock(mutex_);
    abort_ = true;
    cancel_.store(true);
  }
  wake_.notify_one();
  worker_.join();
}

void BoxCountThread::count(std::vector<WeightedMap> maps) {
  {
    const std::lock_guard lock(mutex_);
    maps_ = std::move(maps);
    shown_ = ++generation_;
    restart_ = true;
    cancel_.store(true);
  }
  wake_.notify_one();
}

void BoxCountThread::stop() {
  const std::lock_guard lock(mutex_);
  shown_ = ++generation_;
  restart_ = false;
  cancel_.store(true);
}

void BoxCountThread::post(std::optional<BoxCounting> counting, bool final,
                          std::uint64_t generation) {
  QMetaObject::invokeMethod(
      this,
      [this, counting = std::move(counting), final, generation] {
        if (generation == shown_) emit counted(counting, final);
      },
      Qt::QueuedConnection);
}

void BoxCountThread::run() {
  RenderControl control;
  control.cancel = &cancel_;
  control.threads = 1;  // the preview and the panel's drawings share the machine
  for (;;) {
    std::vector<WeightedMap> maps;
    std::uint64_t generation = 0;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return restart_ || abort_; });
      if (abort_) return;
      maps = maps_;
      generation = generation_;
      restart_ = false;
      cancel_.store(false);
    }
    // The same points for the same maps: an unchanged system keeps its estimate.
    for (const std::int64_t steps : {kFirstSteps, kFinalSteps}) {
      std::optional<BoxCounting> counting = countBoxes(maps, steps, ChaosRandom(), control);
      if (control.cancelled()) break;
      const bool final = steps == kFinalSteps;
      post(std::move(counting), final || !counting, generation);
      if (!counting) break;  // a longer game would not count these maps either
    }
  }
}

}  // namespace quill
