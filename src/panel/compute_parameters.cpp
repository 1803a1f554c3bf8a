#include "panel/panel.h"

namespace quill {

void Panel::cmdCompute_Click() {}  // TODO(issue 3)

}  // namespace quill
