#include "app/frame_fit.h"

#include <QWidget>

namespace quill {

void FrameFit::setOuterSize(QWidget& window, const QSize& outer) {
  outer_ = outer;
  fitted_ = false;
  window.resize(outer);
  apply(window);
}

void FrameFit::apply(QWidget& window) {
  if (fitted_ || !window.isVisible()) return;
  const QSize frame = window.frameGeometry().size() - window.size();
  if (frame == QSize(0, 0)) return;  // not decorated (yet), or no window manager at all
  fitted_ = true;
  window.resize(outer_ - frame);
}

}  // namespace quill
