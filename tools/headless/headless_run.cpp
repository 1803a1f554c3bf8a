#include "headless/headless_run.h"

#include <QCoreApplication>
#include <memory>

#include "core/base/save_file.h"
#include "core/canvas/canvas.h"
#include "core/devices/save_picture.h"
#include "core/document/document.h"
#include "core/editor/table_maps.h"
#include "core/maths/maths_report.h"
#include "core/panel/read_panel.h"
#include "core/params/ifs_commands.h"
#include "core/params/load_save.h"
#include "core/params/pattern_menu.h"
#include "core/picture/picture.h"
#include "core/render/drawing_commands.h"

namespace quill::headless {

namespace {

// A twip is 1/15 of a pixel here, as on a 96 dpi screen.
constexpr double kTwipsPerPixel = 15.0;

// Form1 without a window: the canvas alone.
class OffscreenCanvasWindow : public CanvasWindow {
 public:
  OffscreenCanvasWindow(int width, int height) : width_(width), height_(height) {}

  void load(const Module1& module1) { module1_ = &module1; }
  Canvas& canvas() override {
    if (!canvas_) {
      canvas_ = std::make_unique<Canvas>(width_, height_, kTwipsPerPixel, module1_->paperColor);
    }
    return *canvas_;
  }
  void setCaption(const QString& /*caption*/) override {}
  void showCanvas() override {}

 private:
  const Module1* module1_ = nullptr;
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
  Status printPage(const QImage& /*picture*/) override { return Failure{kPrintUnavailableMessage}; }
};

void printMessages(const QStringList& messages, std::FILE* errors) {
  for (const QString& message : messages) {
    std::fprintf(errors, "%s\n", message.toLocal8Bit().constData());
  }
}

// "\rDrawing 42%" on a terminal, printed only when the whole percentage changes.
std::function<void(double)> terminalProgress(std::FILE* errors, const char* doing = "Drawing") {
  auto last = std::make_shared<int>(-1);
  return [errors, last, doing](double done) {
    const int percent = std::clamp(int(done * 100), 0, 100);
    if (percent == *last) return;
    *last = percent;
    std::fprintf(errors, "\r%s %3d%%", doing, percent);
    std::fflush(errors);
  };
}

const SaveMessages kReportSaveMessages = {
    QStringLiteral("Cannot save the report: disk full."),
    QStringLiteral("Cannot save the report. Please try again.")};

// The maths report of the maps the grid holds, to `path` or standard output ("-").
int writeReport(Document& document, const RenderOptions& options, std::FILE* output,
                std::FILE* errors, const std::atomic<bool>* cancel, bool showProgress) {
  if (const Status read = ReadPanel(document); !read) {
    printMessages({read.message()}, errors);
    return kExitRefused;
  }
  const std::vector<WeightedMap> maps = weightedMaps(document.module1.maps);
  RenderControl control;
  control.cancel = cancel;
  if (showProgress) control.progress = terminalProgress(errors, "Counting boxes");
  const std::optional<BoxCounting> boxes =
      countBoxes(maps, options.reportPoints, ChaosRandom(), control);
  if (showProgress) std::fprintf(errors, "\r                    \r");
  if (cancel != nullptr && cancel->load()) {
    std::fprintf(errors, "Interrupted; no report written.\n");
    return kExitInterrupted;
  }
  const QByteArray json = reportJson(analyseSystem(maps), boxes);
  if (options.report == u"-") {
    std::fwrite(json.constData(), 1, std::size_t(json.size()), output);
    std::fflush(output);
    return kExitDrawn;
  }
  if (const Status written = writeFileAtomically(options.report, json, kReportSaveMessages);
      !written) {
    printMessages({written.message()}, errors);
    return kExitRefused;
  }
  return kExitDrawn;
}

constexpr PictureMode pictureMode(Mode mode) {
  switch (mode) {
    case Mode::BluePrint:
      return PictureMode::BluePrint;
    case Mode::Fractal:
      return PictureMode::Fractal;
    case Mode::Chaos:
      break;
  }
  return PictureMode::ChaosGame;
}

// The grid read and checked as the picture dialog reads it, then the picture rendered straight
// to the file.
int renderToFile(Document& document, const RenderOptions& options, std::FILE* errors,
                 const std::atomic<bool>* cancel, bool showProgress) {
  const PictureMode mode = pictureMode(*options.mode);
  const Result<PictureInputs> inputs = checkPictureInputs(document, mode, options.iterations);
  if (!inputs) {
    printMessages({inputs.message()}, errors);
    return kExitRefused;
  }
  PictureRequest request;
  request.width = options.width;
  request.height = options.height;
  request.shading = options.shading;
  request.gamma = options.gamma;
  request.supersample = options.supersample;
  request.mapColours = options.mapColours;
  request.format = pictureFormatFor(options.output, options.depth16);
  request.seed = options.seed;
  request.pen = options.pen;
  request.paper = options.paper;
  if (const Status fits = checkPictureRequest(request, mode); !fits) {
    printMessages({fits.message()}, errors);
    return kExitRefused;
  }
  RenderControl control;
  control.cancel = cancel;
  control.threads = options.threads;
  if (showProgress) control.progress = terminalProgress(errors);
  const Status written = renderPicture(*inputs, request, control, options.output);
  if (showProgress) std::fprintf(errors, "\r             \r");
  if (cancel != nullptr && cancel->load()) {
    std::fprintf(errors, "Interrupted; no picture written.\n");
    return kExitInterrupted;
  }
  if (!written) {
    printMessages({written.message()}, errors);
    return kExitRefused;
  }
  return kExitDrawn;
}

}  // namespace

int runHeadless(const RenderOptions& options, std::FILE* output, std::FILE* errors,
                const std::atomic<bool>* cancel, bool showProgress) {
  auto refuse = [errors](const QString& message) {
    printMessages({message}, errors);
    return kExitRefused;
  };
  std::vector<IfsEntry> entries;
  if (!options.ifsFile.isEmpty()) {
    Result<std::vector<IfsEntry>> read = readIfsFile(options.ifsFile);
    if (!read) return refuse(read.message());
    entries = std::move(read.value());
  }
  if (options.listEntries) {
    for (const IfsEntry& entry : entries) {
      std::fprintf(output, "%s\t%d\t%s\n", entry.name.toLocal8Bit().constData(), entry.mapCount,
                   entry.threeD ? "3D" : "2D");
    }
    return kExitDrawn;
  }

  // Start-up as the program does it, with the requested canvas in place of the screen.
  CommandLineDialogs dialogs(options.paramsFile);
  NoPrinter printer;
  OffscreenCanvasWindow form1(options.width, options.height);
  Document document(form1, dialogs, printer);
  form1.load(document.module1);
  startUp(document, float(options.width * kTwipsPerPixel), float(options.height * kTwipsPerPixel));
  document.module1.paperColor = options.paper;
  document.module1.penColor = options.pen;
  document.presetDirectory = QCoreApplication::applicationDirPath();

  if (!options.ifsFile.isEmpty()) {
    const IfsEntry* entry = findEntry(entries, options.entry);
    if (entry == nullptr) {
      return refuse(QStringLiteral("The file has no entry named %1.").arg(options.entry));
    }
    if (const Status loaded = loadIfsEntry(document, *entry, options.fit); !loaded) {
      return refuse(loaded.message());
    }
  } else if (options.pattern >= 0) {
    mnuPattern_Click(document, options.pattern);
  } else {
    cmdLoad_Click(document);
  }
  if (!dialogs.messages.isEmpty()) {
    printMessages(dialogs.messages, errors);
    return kExitRefused;
  }
  if (options.fit && options.ifsFile.isEmpty()) {
    if (const Status fitted = fitMapsToSquare(document); !fitted) return refuse(fitted.message());
  }
  if (!options.saveIfs.isEmpty()) {
    const ExportMode mode =
        options.addToCollection ? ExportMode::AddToCollection : ExportMode::ReplaceFile;
    if (const Status saved = saveIfs(document, options.saveIfs, mode); !saved) {
      return refuse(saved.message());
    }
  }
  if (!options.report.isEmpty()) {
    const int status = writeReport(document, options, output, errors, cancel, showProgress);
    if (status != kExitDrawn) return status;
  }
  if (!options.mode) return kExitDrawn;
  if (options.renderToFile) return renderToFile(document, options, errors, cancel, showProgress);

  document.state.Text1 = options.iterations;
  document.immediate.control.cancel = cancel;
  if (showProgress) document.immediate.control.progress = terminalProgress(errors);
  document.immediate.control.threads = options.threads;
  switch (*options.mode) {
    case Mode::BluePrint:
      cmdBluePrint_Click(document);
      break;
    case Mode::Fractal:
      cmdFractal_Click(document);
      break;
    case Mode::Chaos:
      cmdChaos_Click(document);
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

  const Status written = writePicture(form1.canvas().picture(), options.output);
  if (!written) {
    printMessages({written.message()}, errors);
    return kExitRefused;
  }
  return kExitDrawn;
}

}  // namespace quill::headless
