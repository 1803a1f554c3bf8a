#include "headless/headless_parts.h"

#include <QIODevice>
#include <algorithm>
#include <memory>

#include "core/base/save_file.h"
#include "headless/headless_run.h"

namespace quill::headless {

void printMessage(const QString& message, std::FILE* errors) {
  std::fprintf(errors, "%s\n", message.toLocal8Bit().constData());
}

// "\rDrawing 42%" on a terminal, printed only when the whole percentage changes.
std::function<void(double)> terminalProgress(std::FILE* errors, const char* doing) {
  auto last = std::make_shared<int>(-1);
  return [errors, last, doing](double done) {
    const int percent = std::clamp(int(done * 100), 0, 100);
    if (percent == *last) return;
    *last = percent;
    std::fprintf(errors, "\r%s %3d%%", doing, percent);
    std::fflush(errors);
  };
}

// Where a file option writes: "-" is standard output.
QString target(const QString& option) {
  return option == kStandardOutputArgument ? standardOutputName() : option;
}

// writeFileAtomically that waits for a FIFO's reader until Ctrl+C.
Status writeBytes(const QString& path, const QByteArray& bytes, const SaveMessages& messages,
                  const std::atomic<bool>* cancel) {
  const auto writeAll = [&bytes, &messages](QIODevice& device) -> Status {
    if (device.write(bytes) != bytes.size()) return Failure{messages.other};
    return {};
  };
  return writeFileStreaming(path, messages, writeAll, cancel);
}

bool interrupted(const std::atomic<bool>* cancel) { return cancel != nullptr && cancel->load(); }

// How a step that writes `what` ends. The outcome decides: a Ctrl+C that came once the file was
// complete finds it written, and says so.
int outcome(const Status& written, const char* what, std::FILE* errors,
            const std::atomic<bool>* cancel) {
  if (written) {
    if (interrupted(cancel)) {
      std::fprintf(errors, "Interrupted; the %s was already written.\n", what);
    }
    return kExitDrawn;
  }
  if (interrupted(cancel)) {
    std::fprintf(errors, "Interrupted; no %s written.\n", what);
    return kExitInterrupted;
  }
  printMessage(written.message(), errors);
  return kExitRefused;
}

PictureMode pictureMode(Mode mode) {
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

PictureRequest pictureRequestOf(const RenderOptions& options) {
  PictureRequest request;
  request.width = options.width;
  request.height = options.height;
  request.shading = options.shading;
  request.gamma = options.gamma;
  request.tone = options.tone;
  request.gammaThreshold = options.gammaThreshold;
  request.transparent = options.transparent;
  request.supersample = options.supersample;
  request.mapColours = options.mapColours;
  request.seed = options.seed;
  request.pen = options.pen;
  request.paper = options.paper;
  return request;
}

}  // namespace quill::headless
