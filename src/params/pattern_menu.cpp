#include "panel/panel.h"

namespace quill {

void Panel::mnuPattern_Click(int index) { (void)index; }  // TODO(issue 5)

}  // namespace quill
