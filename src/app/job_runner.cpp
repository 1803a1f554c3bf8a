#include "app/job_runner.h"

#include <QMetaMethod>
#include <algorithm>
#include <system_error>

namespace quill {

JobRunner::JobRunner(int threads) : threads_(threads) {
  poller_.setInterval(kPollMs);
  connect(&poller_, &QTimer::timeout, this, &JobRunner::poll);
}

JobRunner::~JobRunner() {
  {
    const std::lock_guard lock(mutex_);
    abort_ = true;
    pending_.reset();
    cancel_.store(true);
  }
  wake_.notify_one();
  if (thread_.joinable()) thread_.join();
}

void JobRunner::run(DrawTask task) {
  const std::uint64_t number = ++jobs_;
  current_ = number;
  finish_ = std::move(task.finish);
  task.finish = nullptr;
  {
    const std::lock_guard lock(mutex_);
    pending_ = Job{number, std::move(task), false};
    cancel_.store(true);  // the job under way, if any, ends
    permille_.store(0, std::memory_order_relaxed);
  }
  if (!thread_.joinable()) {
    try {
      thread_ = std::thread([this] { work(); });
    } catch (const std::system_error&) {
      {
        const std::lock_guard lock(mutex_);
        pending_.reset();
        outcome_ = Outcome{number, Failure{kNoThreadMessage}, false};
      }
      QMetaObject::invokeMethod(this, &JobRunner::deliver, Qt::QueuedConnection);
      return;
    }
  }
  wake_.notify_one();
  // Nobody follows a live view's progress: its runner keeps still between frames.
  if (isSignalConnected(QMetaMethod::fromSignal(&JobRunner::progressed)) ||
      isSignalConnected(QMetaMethod::fromSignal(&JobRunner::growing))) {
    poller_.start();
  }
}

void JobRunner::cancel() {
  const std::lock_guard lock(mutex_);
  cancel_.store(true);
  if (pending_) pending_->cancelled = true;
}

void JobRunner::stop() {
  {
    const std::lock_guard lock(mutex_);
    pending_.reset();
    cancel_.store(true);
  }
  current_ = 0;
  finish_ = nullptr;
  poller_.stop();
}

void JobRunner::finishNow() {
  if (!busy()) return;
  {
    std::unique_lock lock(mutex_);
    ended_.wait(lock, [this] { return outcome_ && outcome_->number == current_; });
  }
  deliver();
}

void JobRunner::work() {
  for (;;) {
    Job job;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return pending_ || abort_; });
      if (abort_) return;
      job = std::move(*pending_);
      pending_.reset();
      cancel_.store(job.cancelled);
      permille_.store(0, std::memory_order_relaxed);
    }
    lastSnapshot_ = std::chrono::steady_clock::now();
    RenderControl control;
    control.cancel = &cancel_;
    control.threads = threads_;
    control.progress = [this, &job](double done) { report(job, done); };
    // The thread's edge: whatever the job throws ends here, as a failure with its message.
    bool complete = false;
    Status status = runCaught(job.task, control, complete);
    {
      const std::lock_guard lock(mutex_);
      if (abort_) return;
      outcome_ = Outcome{job.number, std::move(status), complete};
    }
    ended_.notify_all();
    QMetaObject::invokeMethod(this, &JobRunner::deliver, Qt::QueuedConnection);
  }
}

void JobRunner::report(const Job& job, double done) {
  permille_.store(int(std::clamp(done, 0.0, 1.0) * 1000), std::memory_order_relaxed);
  const auto now = std::chrono::steady_clock::now();
  if (!job.task.snapshot || now - lastSnapshot_ < kGrowingPictureInterval) return;
  lastSnapshot_ = now;
  QImage image = job.task.snapshot();
  const std::lock_guard lock(mutex_);
  picture_ = Picture{job.number, std::move(image)};
}

void JobRunner::poll() {
  emit progressed(permille_.load(std::memory_order_relaxed));
  std::optional<Picture> picture;
  {
    const std::lock_guard lock(mutex_);
    picture.swap(picture_);
  }
  if (picture && picture->number == current_) emit growing(picture->image);
}

void JobRunner::deliver() {
  std::optional<Outcome> outcome;
  {
    const std::lock_guard lock(mutex_);
    outcome.swap(outcome_);
  }
  if (!outcome || outcome->number != current_) return;  // a dropped job's, or taken already
  current_ = 0;
  poller_.stop();
  // The finish step may start another job: the runner is idle by now.
  const auto finish = std::move(finish_);
  finish_ = nullptr;
  if (finish) finish(outcome->status, outcome->complete);
}

}  // namespace quill
