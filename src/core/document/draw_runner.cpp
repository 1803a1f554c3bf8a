#include "core/document/draw_runner.h"

#include <new>
#include <system_error>

namespace quill {

Status runCaught(const DrawTask& task, const RenderControl& control, bool& finished) {
  finished = false;
  try {
    finished = task.work(control);
  } catch (const std::bad_alloc&) {
    return Failure{kNoMemoryMessage};
  } catch (const std::system_error&) {
    return Failure{kNoThreadMessage};
  }
  return {};
}

}  // namespace quill
