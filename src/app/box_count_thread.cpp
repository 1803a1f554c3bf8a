#include "app/box_count_thread.h"

namespace quill {

BoxCountThread::BoxCountThread()
    : worker_([this](const std::vector<WeightedMap>& maps, const RenderControl& control,
                     std::uint64_t generation) { work(maps, control, generation); },
              1) {}  // one thread: the preview and the panel's drawings share the machine

void BoxCountThread::count(std::vector<WeightedMap> maps) { worker_.submit(std::move(maps)); }

void BoxCountThread::stop() { worker_.stop(); }

void BoxCountThread::post(std::optional<BoxCounting> counting, bool final,
                          std::uint64_t generation) {
  if (results_.put({std::move(counting), final, generation})) {
    QMetaObject::invokeMethod(this, &BoxCountThread::deliver, Qt::QueuedConnection);
  }
}

void BoxCountThread::deliver() {
  if (std::optional<Result> result = results_.take();
      result && worker_.isLatest(result->generation)) {
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
