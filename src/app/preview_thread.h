#pragma once

#include <QImage>
#include <QObject>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "core/editor/preview_renderer.h"

namespace quill {

// Draws the map editor's live preview on a worker thread, as the Qt Mandelbrot example does: each
// change restarts the drawing from a first quick frame, which then refines while nothing changes.
// The worker owns copies of the maps and the frame; finished frames come back by `rendered`.
class PreviewThread : public QObject {
  Q_OBJECT

 public:
  static constexpr std::uint64_t kFirstFramePoints = 200'000;
  static constexpr std::uint64_t kMostPoints = 20'000'000;

  PreviewThread();
  // Stops the drawing under way and waits for the worker.
  ~PreviewThread() override;

  // Drops any drawing under way and starts this one.
  void render(std::vector<PreviewMap> maps, const PreviewFrame& frame);

 signals:
  // A frame of the preview, the attractor's points shaded over transparency, and how many points
  // it holds.
  void rendered(const QImage& image, quint64 points);

 private:
  void run();

  std::mutex mutex_;
  std::condition_variable wake_;
  bool restart_ = false;
  bool abort_ = false;
  std::vector<PreviewMap> maps_;
  PreviewFrame frame_;
  std::uint64_t generation_ = 0;  // counts the drawings asked for, under mutex_
  std::uint64_t shown_ = 0;       // the UI thread's own: frames of older drawings are dropped
  std::atomic<bool> cancel_{false};
  std::thread worker_;
};

}  // namespace quill
