#include "core/render/drawing_commands.h"

#include "core/canvas/canvas.h"
#include "core/document/canvas_window.h"
#include "core/document/document.h"

namespace quill {

namespace {

// Draws on Form1's canvas through the runner, then titles it with the panel's caption and shows
// it. A cancelled drawing is shown too, with what it drew.
void drawAndShow(Drawing drawing, DrawRunner& runner, CanvasWindow& form1, Module1& module1,
                 ChaosRandom& random, const QString& caption) {
  Canvas& canvas = form1.canvas();
  runner.run(
      [&canvas, drawing, &module1, &random](const RenderControl& control) {
        drawOn(canvas, drawing, module1, random, control);
      },
      [&form1, caption] {
        form1.setCaption(caption);
        form1.showCanvas();
      });
}

}  // namespace

// Each command reads the panel once: a refused panel shows its message once.

void Panel::cmdBluePrint_Click() {
  const std::optional<Drawing> drawing = checkBluePrint(module1_, [this] { return ReadPanel(); });
  if (drawing) drawAndShow(*drawing, *runner_, form1_, module1_, random_, state_.caption);
}

void Panel::cmdFractal_Click() {
  const std::optional<Drawing> drawing =
      checkFractal(state_, module1_, dialogs_, [this] { return ReadPanel(); });
  if (drawing) drawAndShow(*drawing, *runner_, form1_, module1_, random_, state_.caption);
}

void Panel::cmdChaos_Click() {
  const std::optional<Drawing> drawing =
      checkChaos(state_, module1_, dialogs_, [this] { return ReadPanel(); });
  if (drawing) drawAndShow(*drawing, *runner_, form1_, module1_, random_, state_.caption);
}

}  // namespace quill
