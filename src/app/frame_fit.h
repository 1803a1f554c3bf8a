#pragma once

#include <QSize>

class QWidget;

namespace quill {

// Gives a top-level window an outer size, its frame and title bar included. The window system
// reports the frame only once it has decorated the shown window, so the window first gets the
// whole size itself, and apply() shrinks it by the frame as soon as the frame is known.
class FrameFit {
 public:
  // The outer size the window should have; fitting starts over.
  void setOuterSize(QWidget& window, const QSize& outer);
  // Call on the window's show and move events; does nothing once the frame has been fitted.
  void apply(QWidget& window);

 private:
  QSize outer_;
  bool fitted_ = true;
};

}  // namespace quill
