#pragma once

#include "core/base/result.h"
#include "core/document/dialogs.h"

namespace quill {

// What a command's wrapper does with its operation's outcome: a failure is shown, once, in a
// message box; a success shows nothing.
inline void showIfFailed(Dialogs& dialogs, const Status& status) {
  if (!status) dialogs.message(status.message());
}

}  // namespace quill
