#pragma once

#include "shell/devices.h"

namespace quill {

// The default printer of the system, no dialog.
class QtPrinter : public Printer {
 public:
  PrintError printPage(const QImage& picture) override;
};

}  // namespace quill
