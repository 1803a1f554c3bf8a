#pragma once

#include <QImage>
#include <QObject>
#include <memory>
#include <optional>
#include <vector>

#include "app/job_runner.h"
#include "app/latest_result.h"
#include "core/collage/collage_meter.h"
#include "core/collage/target.h"

namespace quill {

// The target shape the maps are fitted to, as the map editor shows it: the shape as a backdrop
// and, over it, the collage of the maps: where their images W(T) cover the target, what they
// leave uncovered and what spills outside it, with the collage measures. The target belongs to
// the view, not to any parameter file. Measures run off the UI thread; a drag only ever waits for
// the newest.
class CollageOverlay : public QObject {
  Q_OBJECT

 public:
  // One measure of the maps against the target, and the picture of it.
  struct Collage {
    CollageMeasure measure;
    QImage picture;  // the grid's cells: covered, uncovered and spill in their colours
    // h(T, A) and the IoU of the maps' attractor, played after the collage: none until then.
    std::optional<AttractorMeasure> attractor;
  };

  // Points of the attractor's game behind the strip's h(T, A) and IoU: enough to cover a leaf's
  // cells at the working resolution in a few milliseconds.
  static constexpr std::uint64_t kAttractorPoints = 1'000'000;

  explicit CollageOverlay(QObject* parent = nullptr);
  ~CollageOverlay() override;

  // Reads the picture at `path` off the UI thread and takes its shape as the target; loaded()
  // follows with the target's message when that fails (not a picture, blank, dark all over),
  // the target there was kept then. A later load drops one under way.
  void load(const QString& path, bool invert);
  bool loading() const { return loader_.busy(); }
  // Removes the target and its collage.
  void clear();
  bool hasTarget() const { return target_ != nullptr; }
  std::shared_ptr<const Target> target() const { return target_; }

  // Measures `maps` against the target in the background; changed() follows with the result.
  void measure(const std::vector<PlaneMap>& maps);

  // The shape as grey cells on a transparent grid, and the last collage measured (if any, and
  // of the present target).
  const QImage& backdrop() const { return backdrop_; }
  const std::optional<Collage>& collage() const { return collage_; }

  // The backdrop's opacity, 0 to 1, and whether the target is shown at all (a key hides it).
  double opacity() const { return opacity_; }
  void setOpacity(double opacity);
  bool shown() const { return shown_; }
  void setShown(bool shown);

  // What the strip under the editor says of the last collage: h(T, W(T)) and the bound.
  QString stripText() const;

  // The plane's rectangle the target grid covers, left, top (y up), width and height in units.
  static QRectF gridRect();

 signals:
  // The target, its collage, or how it is shown changed: repaint.
  void changed();
  // A load ended: `failure` is empty when the picture's shape is the target now.
  void loaded(const QString& failure);

 private:
  void take();

  std::shared_ptr<const Target> target_;
  // The worker's alone, one per target: the meter and the raster it plays attractors into.
  struct Measuring {
    explicit Measuring(const Target& target) : meter(target) {
      raster.mask = CellMask(target.mask.grid);
    }
    CollageMeter meter;
    AttractorRaster raster;
  };
  std::shared_ptr<Measuring> measuring_;
  QImage backdrop_;
  std::optional<Collage> collage_;
  double opacity_ = 0.35;
  bool shown_ = true;
  std::uint64_t generation_ = 0;  // numbers the targets, so a late collage of an old one is dropped
  LatestResult<std::pair<std::uint64_t, Collage>> latest_;
  JobRunner runner_{1};
  JobRunner loader_{1};  // reads and thresholds the pictures
};

}  // namespace quill
