#pragma once

#include <QObject>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "core/maths/maths_report.h"

namespace quill {

// Counts the attractor's boxes for the maths report on a worker thread, as PreviewThread draws:
// each change drops the count under way (its cancel flag is checked per batch) and starts again
// from a quick first estimate, then a long one. Changes that come faster than the worker wakes
// are coalesced: it takes the latest maps only. The UI thread never waits, except for the
// worker's last batch when the window is destroyed.
class BoxCountThread : public QObject {
  Q_OBJECT

 public:
  static constexpr std::int64_t kFirstSteps = 1'000'000;
  static constexpr std::int64_t kFinalSteps = 10'000'000;

  BoxCountThread();
  ~BoxCountThread() override;

  // Drops any count under way and starts one for these maps.
  void count(std::vector<WeightedMap> maps);
  // Drops any count under way and starts none.
  void stop();

 signals:
  // A count of the latest maps finished: `final` after the long one. `counting` holds nothing
  // when the maps could not be counted.
  void counted(const std::optional<BoxCounting>& counting, bool final);

 private:
  void run();
  void post(std::optional<BoxCounting> counting, bool final, std::uint64_t generation);

  std::mutex mutex_;
  std::condition_variable wake_;
  bool restart_ = false;
  bool abort_ = false;
  std::vector<WeightedMap> maps_;
  std::uint64_t generation_ = 0;  // counts the counts asked for, under mutex_
  std::uint64_t shown_ = 0;       // the UI thread's own: results of older counts are dropped
  std::atomic<bool> cancel_{false};
  std::thread worker_;
};

}  // namespace quill
