#include "app/target_fit.h"

#include <QMetaObject>

#include "core/collage/fit_to_target.h"
#include "core/commands/fit_target.h"
#include "core/commands/ifs_commands.h"
#include "core/commands/show_if_failed.h"
#include "core/document/document.h"

namespace quill {

namespace {

// What the worker hands back at the end.
struct FitEnd {
  std::vector<WeightedMap> maps;
  QString failure;
};

}  // namespace

TargetFit::TargetFit(Document& document, QObject* parent)
    : QObject(parent), document_(document), runner_(0) {}

TargetFit::~TargetFit() = default;

bool TargetFit::start(std::shared_ptr<const Target> target, double seconds) {
  if (running()) return false;
  if (!target) {
    document_.dialogs.message(kFitNoTargetMessage);
    return false;
  }
  const Result<std::vector<PlaneMap>> start = fitStartMaps(document_);
  if (!start) {
    document_.dialogs.message(start.message());
    return false;
  }
  FitOptions options;
  options.seed = ++fits_;
  options.seconds = seconds;  // it stops sooner once it converges, or on Stop
  if (start->empty()) {
    const std::optional<int> count = document_.dialogs.askFitMapCount();
    if (!count) return false;
    options.mapCount = *count;
  }
  before_ = PanelSnapshot::of(document_.state);
  auto end = std::make_shared<FitEnd>();
  DrawTask task;
  // The job owns its target, its start and its options; better systems reach the UI thread
  // through latest_, the newest only.
  task.work = [this, target, maps = *start, options, end](const RenderControl& control) mutable {
    options.improved = [this](const std::vector<WeightedMap>& better) {
      if (latest_.put(better))
        QMetaObject::invokeMethod(this, &TargetFit::take, Qt::QueuedConnection);
    };
    Result<FitOutcome> fitted = fitToTarget(*target, maps, options, control);
    if (!fitted) {
      end->failure = fitted.message();
      return true;
    }
    end->maps = std::move(fitted->maps);
    return !fitted->cancelled;
  };
  task.finish = [this, end](const Status& status, bool /*finished*/) {
    latest_.take();  // the end's maps are the best
    if (!status) {
      document_.dialogs.message(status.message());
    } else if (!end->failure.isEmpty()) {
      document_.dialogs.message(end->failure);
    } else if (!end->maps.empty()) {
      fillGrid(document_, end->maps);
    }
    recordStep(document_.undoStack, document_.state, before_, tr("Fit to Target"));
    emit ended();
  };
  runner_.run(std::move(task));
  return true;
}

void TargetFit::stop() { runner_.cancel(); }

void TargetFit::settle() {
  if (!running()) return;
  runner_.cancel();
  runner_.finishNow();
}

void TargetFit::take() {
  std::optional<std::vector<WeightedMap>> better = latest_.take();
  if (!better || !running()) return;
  fillGrid(document_, *better);
  emit improved();
}

}  // namespace quill
