#include "panel/panel.h"

namespace quill {

void Panel::cmdLoad_Click() {}  // TODO(issue 5)
void Panel::cmdSaveParam_Click() {}

}  // namespace quill
