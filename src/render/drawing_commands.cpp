#include "panel/panel.h"

namespace quill {

void Panel::cmdBluePrint_Click() {}  // TODO(issue 4)
void Panel::cmdFractal_Click() {}
void Panel::cmdChaos_Click() {}

}  // namespace quill
