#include "core/devices/print_and_colors.h"

#include "core/canvas/canvas.h"
#include "core/document/document.h"

namespace quill {

void printPicture(Document& document) {
  Canvas& canvas = document.canvasWindow.canvas();
  canvas.setBackColor(kWhite);
  document.canvasWindow.pictureChanged();
  const Status printed = document.printer.printPage(canvas.picture());
  if (!printed) document.dialogs.message(printed.message());
}

void choosePenColour(Document& document) {
  const std::optional<Rgb> chosen = document.dialogs.chooseColor(document.dialogColor);
  if (!chosen) return;
  document.dialogColor = *chosen;
  document.drawing.penColor = *chosen;
}

void choosePaperColour(Document& document) {
  const std::optional<Rgb> chosen = document.dialogs.chooseColor(document.dialogColor);
  if (!chosen) return;
  document.dialogColor = *chosen;
  document.drawing.paperColor = *chosen;
  document.canvasWindow.canvas().setBackColor(document.drawing.paperColor);
  document.canvasWindow.pictureChanged();
}

}  // namespace quill
