#include "headless/headless_run.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QIODevice>
#include <QImageWriter>
#include <cerrno>
#include <memory>
#include <new>
#include <optional>
#include <system_error>

#include "core/base/save_file.h"
#include "core/canvas/canvas.h"
#include "core/commands/drawing_checks.h"
#include "core/commands/ifs_commands.h"
#include "core/commands/load_save.h"
#include "core/commands/open_picture.h"
#include "core/commands/pattern_menu.h"
#include "core/document/document.h"
#include "core/editor/table_maps.h"
#include "core/maps/preset_folder.h"
#include "core/maps/read_grid.h"
#include "core/maths/maths_report.h"
#include "core/picture/image_file.h"
#include "core/picture/picture.h"
#include "core/picture/picture_carrier.h"
#include "headless/animation_run.h"
#include "headless/fit_run.h"
#include "headless/from_picture.h"
#include "headless/headless_parts.h"

namespace quill::headless {

namespace {

const SaveMessages kReportSaveMessages = {
    QStringLiteral("Cannot save the report: disk full."),
    QStringLiteral("Cannot save the report. Please try again.")};

// The maths report of the maps the grid holds, to `path` or standard output ("-").
int writeReport(const Document& document, const RenderOptions& options, std::FILE* errors,
                const std::atomic<bool>* cancel, bool showProgress) {
  const Result<MapTable> table = readGrid(document.state);
  if (!table) {
    printMessage(table.message(), errors);
    return kExitRefused;
  }
  const std::vector<WeightedMap> maps = weightedMaps(*table);
  RenderControl control;
  control.cancel = cancel;
  if (showProgress) control.progress = terminalProgress(errors, "Counting boxes");
  const std::optional<BoxCounting> boxes =
      countBoxes(maps, options.reportPoints, ChaosRandom(), control);
  if (showProgress) std::fprintf(errors, "\r                    \r");
  if (interrupted(cancel)) {
    std::fprintf(errors, "Interrupted; no report written.\n");
    return kExitInterrupted;
  }
  const QByteArray json = reportJson(analyseSystem(maps), boxes);
  return outcome(writeBytes(target(options.report), json, kReportSaveMessages, cancel), "report",
                 errors, cancel);
}

// The type of the picture file: --format or the name's, among the picture options' types, or
// without those options any other type Qt writes, from the whole picture. Nothing for a name Qt has
// no writer for.
std::optional<PictureFormat> outputFormat(const RenderOptions& options) {
  // --format names the type whatever the name says; standard output has no name to say it.
  const QString named =
      options.format.isEmpty() ? options.output : QStringLiteral("picture.") + options.format;
  if (const std::optional<PictureFormat> format = pictureFormatFor(named, options.depth16)) {
    return format;
  }
  const QByteArray suffix = QFileInfo(options.output).suffix().toLower().toLatin1();
  if (!options.renderToFile && QImageWriter::supportedImageFormats().contains(suffix)) {
    return PictureFormat::QtImage;
  }
  return std::nullopt;
}

// The grid read and checked as the drawing commands read it, then the picture rendered straight
// to the file. Without picture options that is the canvas's own picture, pixel for pixel: drawn
// by the same renderers on a canvas of the requested size, but written a row at a time rather
// than copied and encoded whole.
int renderToFile(const Document& document, const RenderOptions& options, std::FILE* errors,
                 const std::atomic<bool>* cancel, bool showProgress) {
  const PictureMode mode = pictureMode(*options.mode);
  const Result<PictureInputs> inputs = checkPictureInputs(document, mode, options.iterations);
  if (!inputs) {
    printMessage(inputs.message(), errors);
    return kExitRefused;
  }
  const std::optional<PictureFormat> format = outputFormat(options);
  if (!format) {
    printMessage(kUnknownImageFormatMessage, errors);
    return kExitRefused;
  }
  PictureRequest request = pictureRequestOf(options);
  request.format = *format;
  request.generatorState = options.generatorState;
  request.record = recordText(pictureRecordOf(document, *inputs, request));
  if (const Status fits = checkPictureRequest(request, mode); !fits) {
    printMessage(fits.message(), errors);
    return kExitRefused;
  }
  RenderControl control;
  control.cancel = cancel;
  control.threads = options.threads;
  if (showProgress) control.progress = terminalProgress(errors);
  Status written;
  try {
    written = renderPicture(*inputs, request, control, target(options.output));
  } catch (const std::bad_alloc&) {
    written = Failure{kNoMemoryMessage};
  } catch (const std::system_error&) {
    written = Failure{kNoThreadMessage};
  }
  if (showProgress) std::fprintf(errors, "\r             \r");
  return outcome(written, "picture", errors, cancel);
}

}  // namespace

int runHeadless(const RenderOptions& asked, std::FILE* output, std::FILE* errors,
                const std::atomic<bool>* cancel, bool showProgress) {
  auto refuse = [errors](const QString& message) {
    printMessage(message, errors);
    return kExitRefused;
  };
  if (asked.animates()) return runAnimation(asked, errors, cancel, showProgress);
  // A picture's settings stand in for the options before anything is derived from them.
  RenderOptions options = asked;
  if (!asked.fromPicture.isEmpty()) {
    const Result<PictureRecord> record = readPictureRecord(asked.fromPicture);
    if (!record) return refuse(record.message());
    Result<RenderOptions> settings = withPictureSettings(asked, *record);
    if (!settings) return refuse(settings.message());
    options = std::move(settings.value());
  }
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

  // Start-up as the program does it, with the requested canvas in place of the screen. The
  // commands' operations are called straight, so no dialog is ever asked.
  Dialogs dialogs;
  NoPrinter printer;
  OffscreenCanvasWindow canvasWindow(options.width, options.height);
  Document document(canvasWindow, dialogs, printer);
  canvasWindow.load(document.drawing);
  startUp(document, float(options.width * kTwipsPerPixel), float(options.height * kTwipsPerPixel));
  document.drawing.paperColor = options.paper;
  document.drawing.penColor = options.pen;
  const PresetFolder presets = findPresetFolder(QCoreApplication::applicationDirPath());
  document.presetDirectory = presets.path;

  Status loaded;
  if (!options.ifsFile.isEmpty()) {
    const IfsEntry* entry = findEntry(entries, options.entry);
    if (entry == nullptr) {
      return refuse(QStringLiteral("The file has no entry named %1.").arg(options.entry));
    }
    loaded = loadIfsEntry(document, *entry, options.fit);
  } else if (!options.fromPicture.isEmpty()) {
    const Result<PictureRecord> opened = openPictureFrom(document, options.fromPicture);
    if (!opened) loaded = Failure{opened.message()};
  } else if (options.pattern >= 0) {
    loaded = loadPattern(document, options.pattern);
  } else if (!options.paramsFile.isEmpty()) {
    loaded = loadParametersFrom(document, options.paramsFile);
  }
  if (!loaded) {
    if (options.pattern >= 0 && !presets.problem.isEmpty()) printMessage(presets.problem, errors);
    return refuse(loaded.message());
  }
  if (options.fit && options.ifsFile.isEmpty()) {
    if (const Status fitted = fitGridToSquare(document); !fitted) return refuse(fitted.message());
  }
  QString fitSummary;  // the fit's JSON line, printed once everything is written
  if (!options.targetFile.isEmpty()) {
    const int status = fitToTargetFile(document, options, errors, cancel, showProgress, fitSummary);
    if (status != kExitDrawn) return status;
  }
  document.writeFile = [cancel](const QString& path, const QByteArray& bytes,
                                const SaveMessages& messages) {
    return writeBytes(path, bytes, messages, cancel);
  };
  if (!options.saveIfs.isEmpty()) {
    const ExportMode mode =
        options.addToCollection ? ExportMode::AddToCollection : ExportMode::ReplaceFile;
    const int status =
        outcome(exportIfsTo(document, target(options.saveIfs), mode), ".ifs file", errors, cancel);
    if (status != kExitDrawn) return status;
  }
  if (!options.saveParams.isEmpty()) {
    const int status = outcome(saveParametersTo(document, target(options.saveParams)),
                               "parameter file", errors, cancel);
    if (status != kExitDrawn) return status;
  }
  if (!options.report.isEmpty()) {
    const int status = writeReport(document, options, errors, cancel, showProgress);
    if (status != kExitDrawn) return status;
  }
  const int status =
      options.mode ? renderToFile(document, options, errors, cancel, showProgress) : kExitDrawn;
  if (status == kExitDrawn && !fitSummary.isEmpty()) printMessage(fitSummary, errors);
  return status;
}

int finishOutput(std::FILE* output, std::FILE* errors, int status) {
  errno = 0;
  if (std::fflush(output) == 0 && std::ferror(output) == 0) return status;
  std::fprintf(errors, "%s\n",
               errno == ENOSPC ? "Cannot write to standard output: disk full."
                               : "Cannot write to standard output.");
  return status == kExitDrawn ? kExitRefused : status;
}

}  // namespace quill::headless
