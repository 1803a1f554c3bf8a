#pragma once

#include <QImage>
#include <QObject>
#include <vector>

#include "app/job_runner.h"
#include "app/latest_result.h"
#include "core/editor/preview_renderer.h"

namespace quill {

// Draws the map editor's live preview on a worker thread (a JobRunner): each change restarts the
// drawing from a first quick frame, which then refines while nothing changes. The job owns copies
// of the maps and the frame; finished frames come back by `rendered`, the newest only.
class PreviewThread : public QObject {
  Q_OBJECT

 public:
  static constexpr std::uint64_t kFirstFramePoints = 200'000;
  static constexpr std::uint64_t kMostPoints = 20'000'000;

  // Destroying it stops the drawing under way and waits for the worker.
  PreviewThread();

  // Drops any drawing under way and starts this one.
  void render(std::vector<WeightedMap> maps, const PreviewFrame& frame);

 signals:
  // A frame of the preview, the attractor's points shaded over transparency, and how many points
  // it holds.
  void rendered(const QImage& image, quint64 points);

 private:
  struct Job {
    std::vector<WeightedMap> maps;
    PreviewFrame frame;
  };
  struct Frame {
    QImage image;
    quint64 points = 0;
    std::uint64_t generation = 0;
  };
  void draw(const Job& job, const RenderControl& control, std::uint64_t generation);
  void deliver();

  std::uint64_t generation_ = 0;  // numbers the drawings; frames of earlier ones are dropped
  LatestResult<Frame> frames_;    // before the runner, whose job puts into it until it is joined
  JobRunner runner_;
};

}  // namespace quill
