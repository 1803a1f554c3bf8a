#include "app/frame_fit.h"

#include <QEvent>
#include <QWidget>

namespace quill {

FrameFit::FrameFit(QWidget& window) : QObject(&window), window_(window) {
  window.installEventFilter(this);
}

void FrameFit::setOuterSize(const QSize& outer) {
  outer_ = outer;
  fitted_ = false;
  window_.resize(outer);
  apply();
}

bool FrameFit::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Show || event->type() == QEvent::Move) apply();
  return QObject::eventFilter(watched, event);
}

void FrameFit::apply() {
  if (fitted_ || !window_.isVisible()) return;
  const QSize frame = window_.frameGeometry().size() - window_.size();
  if (frame == QSize(0, 0)) return;  // not decorated (yet), or no window manager at all
  fitted_ = true;
  window_.resize(outer_ - frame);
}

}  // namespace quill
