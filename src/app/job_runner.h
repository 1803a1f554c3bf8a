#pragma once

#include <QImage>
#include <QObject>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "core/document/draw_runner.h"

namespace quill {

// The app's one way to run work off the UI thread: the panel's drawings, the picture dialog's
// renders, the map editor's preview and the maths report's box counting. A runner owns a worker
// thread of its own, started with its first job, and runs one job at a time, as the Qt Mandelbrot
// example does: starting a job drops the one under way (it is cancelled through the control's
// flag, checked per batch, and its finish step never runs), and jobs that come faster than the
// worker takes them are coalesced, so a view that follows the user's edits always draws the
// latest. A job owns copies of what it reads. Its failures (no memory, no thread) are caught
// once, at the thread's edge, and reach its finish step as a failure carrying its message. While
// a job runs the runner follows it every kPollMs: progressed() with the share done, growing()
// with the newest picture so far. The UI thread never waits, except in finishNow() and on
// destruction, for the job's last batch.
class JobRunner : public QObject {
  Q_OBJECT

 public:
  // `threads`: how many threads a job may draw on (its control's), 0 for one per core.
  explicit JobRunner(int threads = 0);
  // Cancels the job under way and waits for it; its finish step never runs.
  ~JobRunner() override;

  JobRunner(const JobRunner&) = delete;
  JobRunner& operator=(const JobRunner&) = delete;

  // Drops the job under way, if any, and starts `task`: its work on the worker, its snapshot
  // there while the work reports progress, its finish step on this thread once the work has
  // ended, complete, cancelled or failed.
  void run(DrawTask task);
  // Asks the job under way to stop within a batch of its work; its finish step still runs.
  void cancel();
  // Drops the job under way: it stops, and its finish step never runs.
  void stop();
  // Waits for the job under way to end (cancel() first to have it end soon) and runs its finish
  // step now, before returning.
  void finishNow();
  // A job was started whose finish step has not run yet.
  bool busy() const { return current_ != 0; }

  static constexpr int kPollMs = 40;
  static constexpr std::chrono::milliseconds kGrowingPictureInterval{150};

 signals:
  // The running job's share done, 0 to 1000.
  void progressed(int permille);
  // The running job's picture so far, from its snapshot.
  void growing(const QImage& picture);

 private:
  struct Job {
    std::uint64_t number = 0;
    DrawTask task;           // its finish step stays on the UI thread
    bool cancelled = false;  // cancel() came before the worker took it
  };
  struct Outcome {
    std::uint64_t number = 0;
    Status status;
    bool complete = false;
  };
  struct Picture {
    std::uint64_t number = 0;
    QImage image;
  };

  void work();  // the worker's loop
  // On the worker, from the job's progress reports.
  void report(const Job& job, double done);
  void poll();
  // On the UI thread: the outcome the worker left, through the finish step when it is the
  // running job's.
  void deliver();

  const int threads_;
  std::mutex mutex_;
  std::condition_variable wake_;   // a job to take, or the end
  std::condition_variable ended_;  // a job's outcome is there
  std::optional<Job> pending_;
  std::optional<Outcome> outcome_;
  std::optional<Picture> picture_;
  bool abort_ = false;
  std::atomic<bool> cancel_{false};                     // the flag of the job under way
  std::atomic<int> permille_{0};                        // its share done
  std::chrono::steady_clock::time_point lastSnapshot_;  // the worker's own

  // The UI thread's own.
  std::uint64_t jobs_ = 0;     // numbers the jobs
  std::uint64_t current_ = 0;  // the job whose finish step is to run; 0 for none
  std::function<void(const Status&, bool)> finish_;
  QTimer poller_;

  std::thread thread_;  // last: the worker may use everything above until it is joined
};

}  // namespace quill
