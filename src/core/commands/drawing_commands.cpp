#include "core/commands/drawing_commands.h"

#include <memory>

#include "core/canvas/canvas.h"
#include "core/commands/drawing_checks.h"
#include "core/commands/show_if_failed.h"
#include "core/document/document.h"
#include "core/render/fast_drawing.h"

namespace quill {

namespace {

// What a drawing job reads and writes: its own copies, never the document's.
struct DrawJob {
  DrawingKind kind;
  DrawingState drawing;
  ChaosRandom random;
  Canvas canvas;
};

// Draws on a copy of the canvas window's canvas through the runner; the finished or cancelled
// picture then replaces the canvas, which is titled with the panel's caption and shown.
Status startDrawing(Document& document, DrawingKind kind, DrawingEnded ended) {
  const Canvas& current = document.canvasWindow.canvas();
  auto job = std::make_shared<DrawJob>(DrawJob{kind, document.drawing, document.random, current});
  if (job->canvas.isNull()) return Failure{kNoMemoryMessage};
  const QString caption = document.state.caption;
  DrawTask task;
  task.work = [job](const RenderControl& control) {
    return drawFast(job->canvas, job->kind, job->drawing, job->random, control, control.threads);
  };
  task.snapshot = [job] { return job->canvas.inkSnapshot(); };
  task.finish = [&document, job, caption, ended = std::move(ended)](const Status& status,
                                                                    bool /*finished*/) {
    if (status) {
      document.canvasWindow.canvas() = std::move(job->canvas);
      document.canvasWindow.pictureChanged();
      document.random = job->random;
      document.drawing.recursionLevel = job->drawing.recursionLevel;
      document.canvasWindow.setCaption(caption);
      document.canvasWindow.showCanvas();
    }
    if (ended) ended(status);
  };
  document.runner->run(std::move(task));
  return {};
}

// A refusal is shown at once; a job that fails (no memory, no thread) is shown when it ends.
void drawingCommand(Document& document, PictureMode mode) {
  Dialogs* dialogs = &document.dialogs;  // the program's, alive as long as the runner
  const auto showEnd = [dialogs](const Status& status) { showIfFailed(*dialogs, status); };
  showIfFailed(*dialogs, drawOnCanvas(document, mode, showEnd));
}

}  // namespace

Status drawOnCanvas(Document& document, PictureMode mode, DrawingEnded ended) {
  DrawingState& drawing = document.drawing;
  const QString& countText = document.state.countText;
  if (mode == PictureMode::BluePrint) {
    drawing.iterationCount = 1;
  } else if (const Result<std::int32_t> count = readIterationCount(countText)) {
    drawing.iterationCount = *count;  // kept even when the depth or the grid is refused
  }
  Result<DrawingOrder> order = checkDrawing(document.state, mode, countText);
  if (!order) return Failure{order.message()};
  drawing.maps = order->maps;
  return startDrawing(document, order->kind, std::move(ended));
}

void drawBluePrint(Document& document) { drawingCommand(document, PictureMode::BluePrint); }
void drawFractal(Document& document) { drawingCommand(document, PictureMode::Fractal); }
void drawChaosGame(Document& document) { drawingCommand(document, PictureMode::ChaosGame); }

}  // namespace quill
