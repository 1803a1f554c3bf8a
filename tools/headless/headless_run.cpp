#include "headless/headless_run.h"

#include <QCoreApplication>
#include <memory>

#include "panel/panel.h"
#include "shell/canvas.h"
#include "shell/canvas_window.h"
#include "shell/devices.h"
#include "shell/module1.h"
#include "shell/save_picture.h"

namespace quill::headless {

namespace {

// A twip is 1/15 of a pixel here, as on a 96 dpi screen.
constexpr double kTwipsPerPixel = 15.0;

// Form1 without a window: the canvas alone.
class OffscreenCanvasWindow : public CanvasWindow {
 public:
  OffscreenCanvasWindow(const Module1& module1, int width, int height)
      : module1_(module1), width_(width), height_(height) {}

  Canvas& canvas() override {
    if (!canvas_) {
      canvas_ = std::make_unique<Canvas>(width_, height_, kTwipsPerPixel, module1_.paperColor);
    }
    return *canvas_;
  }
  void setCaption(const QString& /*caption*/) override {}
  void showCanvas() override {}

 private:
  const Module1& module1_;
  int width_;
  int height_;
  std::unique_ptr<Canvas> canvas_;
};

// The dialogs answered from the command line: the parameter file for the open dialog, Cancel
// for everything else; messages are kept to be printed.
class CommandLineDialogs : public Dialogs {
 public:
  explicit CommandLineDialogs(QString paramsFile) : paramsFile_(std::move(paramsFile)) {}

  void message(const QString& text) override { messages.append(text); }
  QString openFileName() override { return paramsFile_; }
  QString saveFileName() override { return QString(); }
  QString savePictureFileName() override { return QString(); }
  std::optional<Rgb> chooseColor(Rgb /*initial*/) override { return std::nullopt; }

  QStringList messages;

 private:
  QString paramsFile_;
};

class NoPrinter : public Printer {
 public:
  PrintError printPage(const QImage& /*picture*/) override { return PrintError::DeviceUnavailable; }
};

void printMessages(const QStringList& messages, std::FILE* errors) {
  for (const QString& message : messages) {
    std::fprintf(errors, "%s\n", message.toLocal8Bit().constData());
  }
}

// "\rDrawing 42%" on a terminal, printed only when the whole percentage changes.
std::function<void(double)> terminalProgress(std::FILE* errors) {
  auto last = std::make_shared<int>(-1);
  return [errors, last](double done) {
    const int percent = std::clamp(int(done * 100), 0, 100);
    if (percent == *last) return;
    *last = percent;
    std::fprintf(errors, "\rDrawing %3d%%", percent);
    std::fflush(errors);
  };
}

}  // namespace

int runHeadless(const RenderOptions& options, std::FILE* errors, const std::atomic<bool>* cancel,
                bool showProgress) {
  // Start-up as the program does it, with the requested canvas in place of the screen.
  Module1 module1;
  module1.maps.clear();
  module1.paperColor = options.paper;
  module1.penColor = options.pen;
  module1.labelImages = false;
  module1.deriveDrawingSquare(float(options.width * kTwipsPerPixel),
                              float(options.height * kTwipsPerPixel));
  OffscreenCanvasWindow form1(module1, options.width, options.height);
  CommandLineDialogs dialogs(options.paramsFile);
  NoPrinter printer;
  PanelState state;
  Panel panel(state, module1, form1, dialogs, printer);
  panel.setPresetDirectory(QCoreApplication::applicationDirPath());
  panel.Form_Load();

  if (options.pattern >= 0) {
    panel.mnuPattern_Click(options.pattern);
  } else {
    panel.cmdLoad_Click();
  }
  if (!dialogs.messages.isEmpty()) {
    printMessages(dialogs.messages, errors);
    return kExitRefused;
  }

  state.Text1 = options.iterations;
  RenderControl control;
  control.cancel = cancel;
  control.threads = options.threads;
  if (showProgress) control.progress = terminalProgress(errors);
  panel.setRenderControl(control);
  switch (options.mode) {
    case Mode::BluePrint:
      panel.cmdBluePrint_Click();
      break;
    case Mode::Fractal:
      panel.cmdFractal_Click();
      break;
    case Mode::Chaos:
      panel.cmdChaos_Click();
      break;
  }
  if (showProgress) std::fprintf(errors, "\r             \r");
  if (!dialogs.messages.isEmpty()) {
    printMessages(dialogs.messages, errors);
    return kExitRefused;
  }
  if (cancel != nullptr && cancel->load()) {
    std::fprintf(errors, "Interrupted; no picture written.\n");
    return kExitInterrupted;
  }

  const PictureSaveError error = writePicture(form1.canvas().picture(), options.output);
  if (error != PictureSaveError::None) {
    printMessages({pictureSaveMessage(error)}, errors);
    return kExitRefused;
  }
  return kExitDrawn;
}

}  // namespace quill::headless
