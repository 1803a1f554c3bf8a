#include "app/box_count_thread.h"

namespace quill {

BoxCountThread::BoxCountThread() = default;

void BoxCountThread::count(std::vector<WeightedMap> maps) {
  DrawTask task;
  task.work = [this, maps = std::move(maps),
               generation = ++generation_](const RenderControl& control) {
    work(maps, control, generation);
    return !control.cancelled();
  };
  runner_.run(std::move(task));
}

void BoxCountThread::stop() {
  ++generation_;
  runner_.stop();
}

void BoxCountThread::post(std::optional<BoxCounting> counting, bool final,
                          std::uint64_t generation) {
  if (results_.put({std::move(counting), final, generation})) {
    QMetaObject::invokeMethod(this, &BoxCountThread::deliver, Qt::QueuedConnection);
  }
}

void BoxCountThread::deliver() {
  if (std::optional<Result> result = results_.take(); result && result->generation == generation_) {
    emit counted(result->counting, result->final);
  }
}

void BoxCountThread::work(const std::vector<WeightedMap>& maps, const RenderControl& control,
                          std::uint64_t generation) {
  // The same points for the same maps: an unchanged system keeps its estimate.
  for (const std::int64_t steps : {kFirstSteps, kFinalSteps}) {
    std::optional<BoxCounting> counting = countBoxes(maps, steps, ChaosRandom(), control);
    if (control.cancelled()) break;
    const bool final = steps == kFinalSteps;
    post(std::move(counting), final || !counting, generation);
    if (!counting) break;  // a longer game would not count these maps either
  }
}

}  // namespace quill
