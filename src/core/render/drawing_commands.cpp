#include "core/render/drawing_commands.h"

#include <memory>

#include "core/canvas/canvas.h"
#include "core/document/document.h"
#include "core/render/drawing_checks.h"
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
void startDrawing(Document& document, DrawingKind kind) {
  const Canvas& current = document.canvasWindow.canvas();
  auto job = std::make_shared<DrawJob>(DrawJob{kind, document.drawing, document.random, current});
  if (job->canvas.isNull()) {
    document.dialogs.message(kNoMemoryMessage);  // no room for the job's copy of the picture
    return;
  }
  const QString caption = document.state.caption;
  DrawTask task;
  task.work = [job](const RenderControl& control) {
    return drawFast(job->canvas, job->kind, job->drawing, job->random, control, control.threads);
  };
  task.snapshot = [job] { return job->canvas.inkSnapshot(); };
  task.finish = [&document, job, caption](const Status& status, bool /*finished*/) {
    if (!status) {
      document.dialogs.message(status.message());
      return;
    }
    document.canvasWindow.canvas() = std::move(job->canvas);
    document.canvasWindow.pictureChanged();
    document.random = job->random;
    document.drawing.recursionLevel = job->drawing.recursionLevel;
    document.canvasWindow.setCaption(caption);
    document.canvasWindow.showCanvas();
  };
  document.runner->run(std::move(task));
}

template <class Check>
void drawingCommand(Document& document, Check check) {
  const Result<DrawingKind> kind = check(document);
  if (!kind) {
    document.dialogs.message(kind.message());
    return;
  }
  startDrawing(document, *kind);
}

}  // namespace

void drawBluePrint(Document& document) { drawingCommand(document, checkBluePrint); }
void drawFractal(Document& document) { drawingCommand(document, checkFractal); }
void drawChaosGame(Document& document) { drawingCommand(document, checkChaos); }

}  // namespace quill
