#include "app/collage_overlay.h"

#include <QMetaObject>
#include <QRectF>
#include <algorithm>
#include <cmath>

#include "core/collage/collage_picture.h"

namespace quill {

CollageOverlay::CollageOverlay(QObject* parent) : QObject(parent) {}

CollageOverlay::~CollageOverlay() = default;

void CollageOverlay::load(const QString& path, bool invert) {
  // What the worker makes of the picture: the target with its meter and backdrop, or why not.
  struct Loaded {
    std::shared_ptr<const Target> target;
    std::shared_ptr<Measuring> measuring;
    QImage backdrop;
    QString failure;
  };
  auto loaded = std::make_shared<Loaded>();
  DrawTask task;
  task.work = [path, invert, loaded](const RenderControl& /*control*/) {
    Result<Target> read = loadTarget(path, invert);
    if (!read) {
      loaded->failure = read.message();
      return true;
    }
    auto target = std::make_shared<const Target>(std::move(read.value()));
    loaded->measuring = std::make_shared<Measuring>(*target);
    loaded->backdrop = shapePicture(*target);
    loaded->target = std::move(target);
    return true;
  };
  task.finish = [this, loaded](const Status& status, bool /*finished*/) {
    if (!status || !loaded->target) {
      emit this->loaded(status ? loaded->failure : status.message());
      return;
    }
    runner_.stop();
    target_ = std::move(loaded->target);
    measuring_ = std::move(loaded->measuring);
    backdrop_ = std::move(loaded->backdrop);
    collage_.reset();
    ++generation_;
    emit changed();
    emit this->loaded(QString());
  };
  loader_.run(std::move(task));
}

void CollageOverlay::clear() {
  loader_.stop();
  runner_.stop();
  target_.reset();
  measuring_.reset();
  backdrop_ = QImage();
  collage_.reset();
  ++generation_;
  emit changed();
}

void CollageOverlay::measure(const std::vector<PlaneMap>& maps) {
  if (!target_) return;
  DrawTask task;
  // The job owns the target, its meter (kept alive by these copies) and the maps. The collage
  // first, at once; then the attractor's measures, which take longer, unless newer maps came.
  task.work = [this, target = target_, measuring = measuring_, maps,
               generation = generation_](const RenderControl& control) {
    const auto hand = [this, generation](const Collage& collage) {
      if (latest_.put({generation, collage})) {
        QMetaObject::invokeMethod(this, &CollageOverlay::take, Qt::QueuedConnection);
      }
    };
    Collage collage;
    collage.measure = measuring->meter.measure(maps);
    collage.picture = collagePicture(target->mask, measuring->meter.images());
    hand(collage);
    if (maps.empty() || (control.cancel != nullptr && control.cancel->load())) return false;
    rasteriseAttractorInto(maps, kAttractorPoints, 1, measuring->raster);
    collage.attractor = measuring->meter.measureAttractor(measuring->raster);
    hand(collage);
    return true;
  };
  task.finish = [](const Status&, bool) {};
  runner_.run(std::move(task));
}

void CollageOverlay::take() {
  std::optional<std::pair<std::uint64_t, Collage>> taken = latest_.take();
  if (!taken || taken->first != generation_) return;
  collage_ = std::move(taken->second);
  emit changed();
}

void CollageOverlay::setOpacity(double opacity) {
  opacity_ = std::clamp(opacity, 0.0, 1.0);
  emit changed();
}

void CollageOverlay::setShown(bool shown) {
  shown_ = shown;
  emit changed();
}

QString CollageOverlay::stripText() const {
  if (!target_) return {};
  if (!collage_) return tr("Measuring the collage …");
  const CollageMeasure& m = collage_->measure;
  // No image at all (no maps, or none that reads) lies at no finite distance.
  if (m.imageCells == 0 || !std::isfinite(m.distance)) {
    return tr("Collage: no map covers the target yet");
  }
  const QString bound = m.bound ? tr("h(T, A) ≤ %1").arg(*m.bound, 0, 'f', 4)
                                : tr("no bound: a map does not contract");
  const double share = m.targetCells > 0 ? 100.0 * double(m.uncoveredCells) / m.targetCells : 0;
  return tr("Collage h(T, W(T)) = %1 · %2 · uncovered %3% · spill %4 cells")
             .arg(m.distance, 0, 'f', 4)
             .arg(bound)
             .arg(share, 0, 'f', 1)
             .arg(m.spillCells) +
         (collage_->attractor ? u'\n' + tr("Attractor h(T, A) = %1 · IoU with the target %2")
                                            .arg(collage_->attractor->distance, 0, 'f', 4)
                                            .arg(collage_->attractor->iou, 0, 'f', 3)
                              : QString());
}

QRectF CollageOverlay::gridRect() {
  const CollageGrid& grid = kTargetGrid;
  const double reach = double(grid.margin) / grid.resolution;  // units beyond each side
  return QRectF(-reach, 1 + reach, 1 + 2 * reach, 1 + 2 * reach);
}

}  // namespace quill
