#pragma once

#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>

namespace quill {

// What a drawing says when it cannot be drawn at all.
inline const QString kNoMemoryMessage =
    QStringLiteral(QT_TRANSLATE_NOOP("Messages", "Not enough memory to draw this picture."));
inline const QString kNoThreadMessage =
    QStringLiteral(QT_TRANSLATE_NOOP("Messages", "Cannot start the drawing. Please try again."));

// What a long drawing is told and tells while it runs: a cancel flag it checks once per batch
// of work, a progress callback it calls now and then with the share done (0 to 1), and how many
// threads it may draw on.
struct RenderControl {
  const std::atomic<bool>* cancel = nullptr;
  std::function<void(double)> progress;
  int threads = 0;  // threads the drawing may use; 0: one per core

  bool cancelled() const { return cancel != nullptr && cancel->load(std::memory_order_relaxed); }
  void report(double done) const {
    if (progress) progress(done);
  }
};

}  // namespace quill
