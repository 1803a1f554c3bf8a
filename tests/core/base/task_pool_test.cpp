#include "core/base/task_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <new>
#include <thread>
#include <vector>

namespace quill::testing {
namespace {

TEST(TaskPool, RunsEveryTaskOnceAndReportsOnTheCallersThread) {
  for (int threads : {1, 3, 8}) {
    SCOPED_TRACE(threads);
    std::vector<std::atomic<int>> runs(500);
    std::vector<double> reports;
    const std::thread::id caller = std::this_thread::get_id();
    bool reportedElsewhere = false;
    RenderControl control;
    control.progress = [&](double done) {
      reports.push_back(done);
      reportedElsewhere = reportedElsewhere || std::this_thread::get_id() != caller;
    };
    EXPECT_TRUE(runTasks(std::int64_t(runs.size()), threads, control, [&](std::int64_t task) {
      runs[std::size_t(task)].fetch_add(1);
      return true;
    }));
    int wrong = 0;
    for (const std::atomic<int>& r : runs) wrong += r.load() != 1;
    EXPECT_EQ(wrong, 0);
    EXPECT_FALSE(reportedElsewhere);
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.back(), 1.0);
    for (std::size_t i = 1; i < reports.size(); ++i) EXPECT_LE(reports[i - 1], reports[i]);
  }
  EXPECT_TRUE(runTasks(0, 2, {}, [](std::int64_t) { return true; }));
}

// Two tasks wait for each other: they can only both finish when two threads run them at once.
TEST(TaskPool, WorkersRunTasksAtTheSameTime) {
  std::atomic<int> arrived{0};
  std::atomic<int> met{0};
  ASSERT_TRUE(runTasks(2, 2, {}, [&](std::int64_t) {
    arrived.fetch_add(1);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (arrived.load() < 2 && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::yield();
    }
    if (arrived.load() == 2) met.fetch_add(1);
    return true;
  }));
  EXPECT_EQ(met.load(), 2);
}

TEST(TaskPool, CancelStopsTakingTasks) {
  std::atomic<bool> cancel{false};
  RenderControl control;
  control.cancel = &cancel;
  std::atomic<int> ran{0};
  EXPECT_FALSE(runTasks(100000, 3, control, [&](std::int64_t task) {
    ran.fetch_add(1);
    if (task == 10) cancel = true;
    return true;
  }));
  EXPECT_LT(ran.load(), 1000);

  // A task that stops early ends the run too, even without the flag.
  EXPECT_FALSE(runTasks(100, 2, {}, [](std::int64_t task) { return task != 5; }));
}

// A task that runs out of memory on a worker does not end the program: the others stop and the
// caller gets the exception, with one thread or several.
TEST(TaskPool, AnExceptionOnAWorkerReachesTheCaller) {
  for (int threads : {1, 3}) {
    SCOPED_TRACE(threads);
    std::atomic<int> ran{0};
    EXPECT_THROW(runTasks(100000, threads, {},
                          [&](std::int64_t task) {
                            ran.fetch_add(1);
                            if (task == 10) throw std::bad_alloc();
                            return true;
                          }),
                 std::bad_alloc);
    EXPECT_LT(ran.load(), 1000);
  }
}

}  // namespace
}  // namespace quill::testing
