#pragma once

#include "core/document/dialogs.h"
#include "core/document/printer.h"

namespace quill {

// The default printer of the system, no dialog.
class QtPrinter : public Printer {
 public:
  Status printPage(const QImage& picture) override;

  // The job's title in the print queue.
  void setDocumentName(const QString& name) { documentName_ = name; }

 private:
  QString documentName_ = kAppTitle;
};

}  // namespace quill
