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
  Drawing drawing;
  Module1 module1;
  ChaosRandom random;
  Canvas canvas;
};

// Draws on a copy of Form1's canvas through the runner; the finished or cancelled picture then
// replaces the canvas, which is titled with the panel's caption and shown.
void startDrawing(Document& document, Drawing drawing) {
  const Canvas& current = document.form1.canvas();
  auto job =
      std::make_shared<DrawJob>(DrawJob{drawing, document.module1, document.random, current});
  if (job->canvas.isNull()) {
    document.dialogs.message(kNoMemoryMessage);  // no room for the job's copy of the picture
    return;
  }
  const QString caption = document.state.caption;
  DrawTask task;
  task.work = [job](const RenderControl& control) {
    return drawFast(job->canvas, job->drawing, job->module1, job->random, control, control.threads);
  };
  task.snapshot = [job] { return job->canvas.inkSnapshot(); };
  task.finish = [&document, job, caption](const Status& status, bool /*finished*/) {
    if (!status) {
      document.dialogs.message(status.message());
      return;
    }
    document.form1.canvas() = std::move(job->canvas);
    document.form1.pictureChanged();
    document.random = job->random;
    document.module1.recursionLevel = job->module1.recursionLevel;
    document.form1.setCaption(caption);
    document.form1.showCanvas();
  };
  document.runner->run(std::move(task));
}

template <class Check>
void drawingCommand(Document& document, Check check) {
  const Result<Drawing> drawing = check(document);
  if (!drawing) {
    document.dialogs.message(drawing.message());
    return;
  }
  startDrawing(document, *drawing);
}

}  // namespace

void cmdBluePrint_Click(Document& document) { drawingCommand(document, checkBluePrint); }
void cmdFractal_Click(Document& document) { drawingCommand(document, checkFractal); }
void cmdChaos_Click(Document& document) { drawingCommand(document, checkChaos); }

}  // namespace quill
