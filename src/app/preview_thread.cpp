#include "app/preview_thread.h"

#include <algorithm>
#include <cmath>

namespace quill {

namespace {

// The preview's points over transparency: darker where more points fell (log of the count).
QImage shade(const std::vector<std::uint8_t>& hits, const PreviewFrame& frame) {
  QImage image(frame.width, frame.height, QImage::Format_ARGB32_Premultiplied);
  if (image.isNull()) return image;
  static const auto table = [] {
    std::array<QRgb, 256> colours{};
    for (int h = 1; h < 256; ++h) {
      const double shade = std::log1p(h) / std::log1p(255.0);
      colours[std::size_t(h)] = qPremultiply(qRgba(40, 60, 90, int(70 + 150 * shade)));
    }
    return colours;
  }();
  for (int y = 0; y < frame.height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    const std::uint8_t* row = hits.data() + std::size_t(y) * std::size_t(frame.width);
    for (int x = 0; x < frame.width; ++x) line[x] = table[row[x]];
  }
  return image;
}

}  // namespace

PreviewThread::PreviewThread() = default;

void PreviewThread::render(std::vector<WeightedMap> maps, const PreviewFrame& frame) {
  DrawTask task;
  task.work = [this, job = Job{std::move(maps), frame},
               generation = ++generation_](const RenderControl& control) {
    draw(job, control, generation);
    return !control.cancelled();
  };
  runner_.run(std::move(task));
}

void PreviewThread::draw(const Job& job, const RenderControl& control, std::uint64_t generation) {
  const std::vector<WeightedMap>& maps = job.maps;
  const PreviewFrame& frame = job.frame;
  std::vector<std::uint8_t> hits(std::size_t(std::max(frame.width, 0)) *
                                 std::size_t(std::max(frame.height, 0)));
  ChaosRandom random;  // the same points for the same maps: a still picture stays still
  PreviewOrbit orbit;
  std::uint64_t done = 0;
  std::uint64_t batch = kFirstFramePoints;
  while (done < kMostPoints) {
    if (!playPreview(maps, frame, batch, random, orbit, hits.data(), control)) break;
    done += batch;
    if (frames_.put({shade(hits, frame), done, generation})) {
      QMetaObject::invokeMethod(this, &PreviewThread::deliver, Qt::QueuedConnection);
    }
    batch = std::min(batch * 2, kMostPoints - done);
  }
}

void PreviewThread::deliver() {
  if (std::optional<Frame> frame = frames_.take(); frame && frame->generation == generation_) {
    emit rendered(frame->image, frame->points);
  }
}

}  // namespace quill
