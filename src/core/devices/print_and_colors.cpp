#include "core/devices/print_and_colors.h"

#include "core/canvas/canvas.h"
#include "core/document/document.h"

namespace quill {

void cmdPrint_Click(Document& document) {
  Canvas& canvas = document.form1.canvas();
  canvas.setBackColor(kWhite);
  document.form1.pictureChanged();
  const Status printed = document.printer.printPage(canvas.picture());
  if (!printed) document.dialogs.message(printed.message());
}

void mnuForeColor_Click(Document& document) {
  const std::optional<Rgb> chosen = document.dialogs.chooseColor(document.dialogColor);
  if (!chosen) return;
  document.dialogColor = *chosen;
  document.module1.penColor = *chosen;
}

void mnuBackColor_Click(Document& document) {
  const std::optional<Rgb> chosen = document.dialogs.chooseColor(document.dialogColor);
  if (!chosen) return;
  document.dialogColor = *chosen;
  document.module1.paperColor = *chosen;
  document.form1.canvas().setBackColor(document.module1.paperColor);
  document.form1.pictureChanged();
}

}  // namespace quill
