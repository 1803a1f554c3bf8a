#pragma once

#include <QObject>
#include <cstdint>
#include <optional>
#include <vector>

#include "app/job_runner.h"
#include "app/latest_result.h"
#include "core/maths/maths_report.h"

namespace quill {

// Counts the attractor's boxes for the maths report on a worker thread (a JobRunner): each
// change drops the count under way and starts again from a quick first estimate, then a long one.
class BoxCountThread : public QObject {
  Q_OBJECT

 public:
  static constexpr std::int64_t kFirstSteps = 1'000'000;
  static constexpr std::int64_t kFinalSteps = 10'000'000;

  // Destroying it stops the count under way and waits for the worker.
  BoxCountThread();

  // Drops any count under way and starts one for these maps.
  void count(std::vector<WeightedMap> maps);
  // Drops any count under way and starts none.
  void stop();

 signals:
  // A count of the latest maps finished: `final` after the long one. `counting` holds nothing
  // when the maps could not be counted.
  void counted(const std::optional<BoxCounting>& counting, bool final);

 private:
  void work(const std::vector<WeightedMap>& maps, const RenderControl& control,
            std::uint64_t generation);
  struct Result {
    std::optional<BoxCounting> counting;
    bool final = false;
    std::uint64_t generation = 0;
  };
  void post(std::optional<BoxCounting> counting, bool final, std::uint64_t generation);
  void deliver();

  std::uint64_t generation_ = 0;  // numbers the counts; results of earlier ones are dropped
  LatestResult<Result> results_;  // before the runner, whose job puts into it until it is joined
  JobRunner runner_{1};  // one thread: the preview and the panel's drawings share the machine
};

}  // namespace quill
