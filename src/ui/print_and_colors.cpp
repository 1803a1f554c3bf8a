#include "panel/panel.h"

namespace quill {

void Panel::cmdPrint_Click() {}  // TODO(issue 6)
void Panel::mnuForeColor_Click() {}
void Panel::mnuBackColor_Click() {}

}  // namespace quill
