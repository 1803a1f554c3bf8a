#include "app/job_runner.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <memory>
#include <new>
#include <system_error>
#include <thread>

#include "support/row_name.h"
#include "support/wait.h"

namespace quill {
namespace {

using testing::waitUntil;

// What the finish step of a job was told, and how often it ran.
struct Finished {
  int times = 0;
  Status status;
  bool complete = false;
};

// A job that works until it is cancelled, or for ten seconds at most (then complete); `started`
// turns true on the worker.
DrawTask untilCancelled(std::shared_ptr<Finished> finished,
                        std::shared_ptr<std::atomic<bool>> started = nullptr) {
  DrawTask task;
  task.work = [started](const RenderControl& control) {
    if (started) started->store(true);
    const QDeadlineTimer deadline(10000);
    while (!control.cancelled() && !deadline.hasExpired()) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return !control.cancelled();
  };
  task.finish = [finished](const Status& status, bool complete) {
    ++finished->times;
    finished->status = status;
    finished->complete = complete;
  };
  return task;
}

// A job started over another drops it: the first stops and its finish step never runs, the
// second's runs once. A live view that follows the user's edits relies on it.
TEST(JobRunner, AJobStartedOverAnotherDropsIt) {
  JobRunner runner;
  auto first = std::make_shared<Finished>();
  auto started = std::make_shared<std::atomic<bool>>(false);
  runner.run(untilCancelled(first, started));
  ASSERT_TRUE(waitUntil([&] { return started->load(); }));
  auto second = std::make_shared<Finished>();
  DrawTask quick = untilCancelled(second);
  quick.work = [](const RenderControl&) { return true; };
  runner.run(std::move(quick));
  ASSERT_TRUE(waitUntil([&] { return !runner.busy(); }));
  QTest::qWait(50);  // a late finish step of the first would run by now
  EXPECT_EQ(first->times, 0);
  EXPECT_EQ(second->times, 1);
  EXPECT_TRUE(second->complete);
}

// Cancel reaches a job the worker has not taken yet (it is still ending the one dropped for
// it); finishNow() waits for the job's end and runs its finish step before it returns, once.
TEST(JobRunner, CancelStopsAJobNotYetTakenAndFinishNowEndsItAtOnce) {
  JobRunner runner;
  auto dropped = std::make_shared<Finished>();
  auto started = std::make_shared<std::atomic<bool>>(false);
  runner.run(untilCancelled(dropped, started));
  ASSERT_TRUE(waitUntil([&] { return started->load(); }));
  auto finished = std::make_shared<Finished>();
  runner.run(untilCancelled(finished));
  runner.cancel();
  const QDeadlineTimer deadline(5000);
  runner.finishNow();
  EXPECT_FALSE(deadline.hasExpired());
  EXPECT_FALSE(runner.busy());
  EXPECT_EQ(finished->times, 1);
  EXPECT_FALSE(finished->complete);
  EXPECT_TRUE(finished->status);
  QTest::qWait(50);
  EXPECT_EQ(finished->times, 1);
  EXPECT_EQ(dropped->times, 0);
}

struct FailureRow {
  const char* name;
  void (*fail)();
  QString message;
};

class JobRunnerFailures : public ::testing::TestWithParam<FailureRow> {};

// What a job throws ends at the worker's edge and reaches its finish step as the failure's
// message; the runner takes the next job.
TEST_P(JobRunnerFailures, ReachTheFinishStepAsTheirMessage) {
  JobRunner runner;
  auto finished = std::make_shared<Finished>();
  DrawTask task = untilCancelled(finished);
  task.work = [fail = GetParam().fail](const RenderControl&) -> bool {
    fail();
    return true;
  };
  runner.run(std::move(task));
  ASSERT_TRUE(waitUntil([&] { return !runner.busy(); }));
  EXPECT_EQ(finished->status.message(), GetParam().message);
  EXPECT_FALSE(finished->complete);

  DrawTask next = untilCancelled(finished);
  next.work = [](const RenderControl&) { return true; };
  runner.run(std::move(next));
  ASSERT_TRUE(waitUntil([&] { return !runner.busy(); }));
  EXPECT_TRUE(finished->status);
  EXPECT_TRUE(finished->complete);
}

INSTANTIATE_TEST_SUITE_P(
    Throws, JobRunnerFailures,
    ::testing::Values(FailureRow{"no_memory", [] { throw std::bad_alloc(); }, kNoMemoryMessage},
                      FailureRow{"no_thread",
                                 [] {
                                   throw std::system_error(std::make_error_code(
                                       std::errc::resource_unavailable_try_again));
                                 },
                                 kNoThreadMessage}),
    testing::RowName());

}  // namespace
}  // namespace quill
