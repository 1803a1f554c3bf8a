#include "core/base/task_pool.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace quill {

namespace {

// How often the caller wakes to report progress: often enough for a smooth bar.
constexpr auto kReportInterval = std::chrono::milliseconds(20);

}  // namespace

int defaultDrawingThreads() { return std::max(1u, std::thread::hardware_concurrency()); }

bool runTasks(std::int64_t count, int threads, const RenderControl& control,
              const std::function<bool(std::int64_t task)>& work,
              const std::function<std::int64_t(std::int64_t task)>& size) {
  if (count <= 0) return !control.cancelled();
  const auto sizeOf = [&size](std::int64_t task) { return size ? size(task) : 1; };
  std::int64_t total = 0;
  for (std::int64_t task = 0; task < count; ++task) total += sizeOf(task);
  total = std::max<std::int64_t>(total, 1);
  std::atomic<std::int64_t> next{0};
  std::atomic<std::int64_t> finishedTasks{0};
  std::atomic<std::int64_t> done{0};  // the sizes of the tasks finished
  std::atomic<bool> stopped{false};
  std::mutex mutex;
  std::condition_variable finished;
  int running = 0;
  std::exception_ptr failure;  // the first exception a task threw, under `mutex`

  auto worker = [&] {
    try {
      while (!stopped.load(std::memory_order_relaxed)) {
        if (control.cancelled()) {
          stopped = true;
          break;
        }
        const std::int64_t task = next.fetch_add(1, std::memory_order_relaxed);
        if (task >= count) break;
        if (!work(task)) {
          stopped = true;
          break;
        }
        done.fetch_add(sizeOf(task), std::memory_order_relaxed);
        finishedTasks.fetch_add(1, std::memory_order_relaxed);
      }
    } catch (...) {
      // An exception leaving a thread would end the program: the other workers stop, and the
      // caller throws it once they have.
      stopped = true;
      const std::lock_guard lock(mutex);
      if (!failure) failure = std::current_exception();
    }
    const std::lock_guard lock(mutex);
    --running;
    finished.notify_one();
  };

  const int wanted = std::clamp<std::int64_t>(threads, 1, count);
  std::vector<std::jthread> pool;
  pool.reserve(std::size_t(wanted));
  for (int i = 0; i < wanted; ++i) {
    {
      const std::lock_guard lock(mutex);
      ++running;
    }
    try {
      pool.emplace_back(worker);
    } catch (const std::system_error&) {
      const std::lock_guard lock(mutex);
      --running;  // the system gives no more threads: go on with those started
      break;
    }
  }
  if (pool.empty()) {
    ++running;
    worker();  // no thread at all: the caller does the work, reporting only at the end
  }

  {
    std::unique_lock lock(mutex);
    while (running > 0) {
      if (finished.wait_for(lock, kReportInterval, [&] { return running == 0; })) break;
      lock.unlock();
      control.report(double(done.load(std::memory_order_relaxed)) / double(total));
      lock.lock();
    }
  }
  pool.clear();  // joins
  if (failure) std::rethrow_exception(failure);
  const bool complete = finishedTasks.load() == count;
  control.report(double(done.load()) / double(total));
  return complete;
}

}  // namespace quill
