#pragma once

#include <cstdint>
#include <functional>

#include "core/base/render_control.h"

namespace quill {

// The number of threads a drawing may use when it is not told: one per core.
int defaultDrawingThreads();

// Runs tasks 0 to count − 1 on `threads` worker threads, each worker taking the next task as it
// finishes one, so that uneven tasks still keep every core busy. Meanwhile the calling thread
// reports the share of tasks done (weighed by size(task), when given) through `control` every few
// milliseconds (and once at the end), so the progress callback only ever runs on the caller's
// thread.
//
// `work(task)` runs on a worker; it must look at control.cancelled() now and then and return
// false when it stopped early. Workers take no new task once the drawing is cancelled. Returns
// false when cancelled. With threads ≤ 1 (or when no thread can be started) one worker runs.
// An exception thrown by `work` (std::bad_alloc, say) stops the workers and is thrown again on
// the calling thread once they have all ended.
bool runTasks(std::int64_t count, int threads, const RenderControl& control,
              const std::function<bool(std::int64_t task)>& work,
              const std::function<std::int64_t(std::int64_t task)>& size = {});

}  // namespace quill
