#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <new>
#include <optional>
#include <thread>

#include "core/base/render_control.h"

namespace quill {

// A worker thread for live views that follow the user's edits (the map editor's preview, the
// maths report's box counting), as the Qt Mandelbrot example works: each new job cancels the one
// under way through the control's flag, checked per batch, and the worker goes on with the
// latest; jobs that come faster than it wakes are coalesced. The UI thread never waits, except
// for the worker's last batch on destruction.
template <typename Job>
class LatestJobWorker {
 public:
  // Runs on the worker thread for each job taken; `generation` names the job for isLatest().
  using Work =
      std::function<void(const Job& job, const RenderControl& control, std::uint64_t generation)>;

  explicit LatestJobWorker(Work work, int threads = 0)
      : work_(std::move(work)), threads_(threads), thread_([this] { run(); }) {}

  ~LatestJobWorker() {
    {
      const std::lock_guard lock(mutex_);
      abort_ = true;
      cancel_.store(true);
    }
    wake_.notify_one();
    thread_.join();
  }

  LatestJobWorker(const LatestJobWorker&) = delete;
  LatestJobWorker& operator=(const LatestJobWorker&) = delete;

  // Drops the job under way and starts this one.
  void submit(Job job) {
    {
      const std::lock_guard lock(mutex_);
      job_ = std::move(job);
      latest_ = ++generation_;
      restart_ = true;
      cancel_.store(true);
    }
    wake_.notify_one();
  }

  // Drops the job under way and starts none.
  void stop() {
    const std::lock_guard lock(mutex_);
    latest_ = ++generation_;
    restart_ = false;
    cancel_.store(true);
  }

  // On the UI thread: whether results of job `generation` are still wanted.
  bool isLatest(std::uint64_t generation) const { return generation == latest_; }

 private:
  void run() {
    RenderControl control;
    control.cancel = &cancel_;
    control.threads = threads_;
    for (;;) {
      Job job;
      std::uint64_t generation = 0;
      {
        std::unique_lock lock(mutex_);
        wake_.wait(lock, [this] { return restart_ || abort_; });
        if (abort_) return;
        job = job_;
        generation = generation_;
        restart_ = false;
        cancel_.store(false);
      }
      try {
        work_(job, control, generation);
      } catch (const std::bad_alloc&) {
        // No memory for this view: the job is dropped, the view keeps what it showed, and the
        // next edit tries again.
      }
    }
  }

  const Work work_;
  const int threads_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool restart_ = false;
  bool abort_ = false;
  Job job_{};
  std::uint64_t generation_ = 0;  // counts the jobs submitted, under mutex_
  std::uint64_t latest_ = 0;      // the UI thread's own copy, for isLatest()
  std::atomic<bool> cancel_{false};
  std::thread thread_;  // last: it starts once everything above is in place
};

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
