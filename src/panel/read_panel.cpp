#include "panel/panel.h"

namespace quill {

bool Panel::ReadPanel() { return true; }  // TODO(issue 3)

}  // namespace quill
