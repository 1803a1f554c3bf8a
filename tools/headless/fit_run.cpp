#include "headless/fit_run.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <algorithm>
#include <cmath>

#include "core/collage/fit_report.h"
#include "core/collage/target.h"
#include "core/commands/fit_target.h"
#include "core/document/document.h"
#include "headless/headless_run.h"

namespace quill::headless {

namespace {

void printMessage(const QString& message, std::FILE* errors) {
  std::fprintf(errors, "%s\n", message.toLocal8Bit().constData());
}

// A measure in JSON: enough digits to tell fits apart, never "nan" or "inf".
QString jsonNumber(double value) {
  return std::isfinite(value) ? QString::number(value, 'g', 6) : QStringLiteral("null");
}

}  // namespace

int fitToTargetFile(Document& document, const RenderOptions& options, std::FILE* errors,
                    const std::atomic<bool>* cancel, bool showProgress, QString& summary) {
  const Result<Target> target = loadTarget(options.targetFile, options.invertTarget);
  if (!target) {
    printMessage(target.message(), errors);
    return kExitRefused;
  }
  FitOptions fit;
  fit.seed = options.fitSeed;
  fit.seconds = options.fitSeconds;
  fit.mapCount = options.targetMaps;
  RenderControl control;
  control.cancel = cancel;
  control.threads = options.threads;
  int shown = -1;
  if (showProgress) {
    control.progress = [errors, &shown](double done) {
      const int percent = std::clamp(int(done * 100), 0, 100);
      if (percent == shown) return;
      shown = percent;
      std::fprintf(errors, "\rFitting %3d%%", percent);
      std::fflush(errors);
    };
  }
  QElapsedTimer clock;
  clock.start();
  const bool fromNothing = options.targetMaps > 0;
  const Result<FitOutcome> fitted = fitGridToTarget(document, *target, fit, control);
  if (showProgress) std::fprintf(errors, "\r             \r");
  if (cancel != nullptr && cancel->load()) {
    std::fprintf(errors, "Interrupted; nothing written.\n");
    return kExitInterrupted;
  }
  if (!fitted) {
    printMessage(fitted.message(), errors);
    return kExitRefused;
  }
  const double seconds = double(clock.elapsed()) / 1000.0;
  // Maps seeded from nothing are named after the shape they draw, as an .ifs entry needs.
  if (fromNothing) document.state.caption = QFileInfo(options.targetFile).completeBaseName();

  std::vector<PlaneMap> maps;
  for (const WeightedMap& m : fitted->maps) maps.push_back(m.map);
  RenderControl measuring;
  measuring.cancel = cancel;
  measuring.threads = options.threads;
  const FitReport report = reportFit(*target, maps, options.fitSeed, measuring);
  if (cancel != nullptr && cancel->load()) {
    std::fprintf(errors, "Interrupted; nothing written.\n");
    return kExitInterrupted;
  }
  summary = QStringLiteral(
                "{\"iou\": %1, \"collage_distance\": %2, \"bound\": %3, \"maps\": %4, "
                "\"seconds\": %5}")
                .arg(jsonNumber(report.iou), jsonNumber(report.collageDistance),
                     report.bound ? jsonNumber(*report.bound) : QStringLiteral("null"))
                .arg(maps.size())
                .arg(QString::number(seconds, 'f', 2));
  return kExitDrawn;
}

}  // namespace quill::headless
