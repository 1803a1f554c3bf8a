#pragma once

// What the runs of quillmere-render share: the document's stand-ins for a window and a printer,
// messages and progress on standard error, and how a step that writes a file ends.

#include <QString>
#include <atomic>
#include <cstdio>
#include <functional>
#include <memory>

#include "core/canvas/canvas.h"
#include "core/document/document.h"
#include "core/picture/picture.h"
#include "headless/render_options.h"

namespace quill::headless {

// A twip is 1/15 of a pixel here, as on a 96 dpi screen.
inline constexpr double kTwipsPerPixel = 15.0;

// A canvas window with no window: the canvas alone.
class OffscreenCanvasWindow : public CanvasWindow {
 public:
  OffscreenCanvasWindow(int width, int height) : width_(width), height_(height) {}

  void load(const DrawingState& drawing) { drawing_ = &drawing; }
  Canvas& canvas() override {
    if (!canvas_) {
      canvas_ = std::make_unique<Canvas>(width_, height_, kTwipsPerPixel, drawing_->paperColor);
    }
    return *canvas_;
  }
  void setCaption(const QString& /*caption*/) override {}
  void showCanvas() override {}

 private:
  const DrawingState* drawing_ = nullptr;
  int width_;
  int height_;
  std::unique_ptr<Canvas> canvas_;
};

class NoPrinter : public Printer {
 public:
  Status printPage(const QImage& /*picture*/) override { return Failure{kPrintUnavailableMessage}; }
};

void printMessage(const QString& message, std::FILE* errors);

// "\rDrawing 42%" on a terminal, printed only when the whole percentage changes.
std::function<void(double)> terminalProgress(std::FILE* errors, const char* doing = "Drawing");

// Where a file option writes: "-" is standard output.
QString target(const QString& option);

// writeFileAtomically that waits for a FIFO's reader until Ctrl+C.
Status writeBytes(const QString& path, const QByteArray& bytes, const SaveMessages& messages,
                  const std::atomic<bool>* cancel);

bool interrupted(const std::atomic<bool>* cancel);

// How a step that writes `what` ends. The outcome decides: a Ctrl+C that came once the file was
// complete finds it written, and says so.
int outcome(const Status& written, const char* what, std::FILE* errors,
            const std::atomic<bool>* cancel);

// The picture mode of a --mode.
PictureMode pictureMode(Mode mode);

// The picture options (size, shading, tone, colours, seed) as a request: one place, so a still
// picture and an animation's frames are drawn alike. Its format and record are the caller's.
PictureRequest pictureRequestOf(const RenderOptions& options);

}  // namespace quill::headless
