#include "core/commands/print_and_colors.h"

#include <optional>

#include "core/canvas/canvas.h"
#include "core/commands/show_if_failed.h"
#include "core/document/document.h"

namespace quill {

Status printCanvas(Document& document) {
  Canvas& canvas = document.canvasWindow.canvas();
  canvas.setBackColor(kWhite);
  document.canvasWindow.pictureChanged();
  return document.printer.printPage(canvas.picture());
}

void setPenColour(Document& document, Rgb colour) { document.drawing.penColor = colour; }

void setPaperColour(Document& document, Rgb colour) {
  document.drawing.paperColor = colour;
  document.canvasWindow.canvas().setBackColor(colour);
  document.canvasWindow.pictureChanged();
}

void printPicture(Document& document) { showIfFailed(document.dialogs, printCanvas(document)); }

namespace {

// The colour dialog, starting from and remembering the colour it last gave for both commands.
std::optional<Rgb> askColour(Document& document) {
  const std::optional<Rgb> chosen = document.dialogs.chooseColor(document.dialogColor);
  if (chosen) document.dialogColor = *chosen;
  return chosen;
}

}  // namespace

void choosePenColour(Document& document) {
  if (const std::optional<Rgb> chosen = askColour(document)) setPenColour(document, *chosen);
}

void choosePaperColour(Document& document) {
  if (const std::optional<Rgb> chosen = askColour(document)) setPaperColour(document, *chosen);
}

}  // namespace quill
