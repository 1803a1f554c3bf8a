#pragma once

#include <mutex>
#include <optional>

namespace quill {

// Hands a worker's results to the UI thread one at a time, the newest only: a result that comes
// while the last still waits for the UI thread replaces it. However long the UI thread is busy
// (a backlog of key presses handled in one go), one result at most waits, and a preview frame is
// megabytes.
template <typename Result>
class LatestResult {
 public:
  // On the worker: true when nothing was waiting, so the UI thread must be told to take() it.
  bool put(Result result) {
    const std::lock_guard lock(mutex_);
    const bool wasEmpty = !waiting_.has_value();
    waiting_ = std::move(result);
    return wasEmpty;
  }

  // On the UI thread: the newest result, once.
  std::optional<Result> take() {
    const std::lock_guard lock(mutex_);
    std::optional<Result> result = std::move(waiting_);
    waiting_.reset();
    return result;
  }

 private:
  std::mutex mutex_;
  std::optional<Result> waiting_;
};

}  // namespace quill
