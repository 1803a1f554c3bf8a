#include "app/animation_timeline.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace quill {

namespace {
constexpr int kMargin = 16;       // pixels left and right of the axis
constexpr int kMarkerHalf = 7;    // half a marker's width, in pixels
constexpr int kAxisFromTop = 40;  // the axis's height in the widget
}  // namespace

AnimationTimeline::AnimationTimeline(QWidget* parent) : QWidget(parent) {
  setMinimumHeight(72);
  setFocusPolicy(Qt::ClickFocus);
}

void AnimationTimeline::setKeys(std::vector<double> times, double end) {
  times_ = std::move(times);
  end_ = end;
  update();
}

void AnimationTimeline::setSelected(int index) {
  selected_ = index;
  update();
}

void AnimationTimeline::setPlayhead(double time) {
  playhead_ = time;
  update();
}

double AnimationTimeline::span() const {
  const double span = end_ - start();
  return span > 0 ? span : 1.0;
}

int AnimationTimeline::xOf(double time) const {
  const double width = std::max(1, this->width() - 2 * kMargin);
  return kMargin + int(std::lround((time - start()) / span() * width));
}

double AnimationTimeline::timeAt(int x) const {
  const double width = std::max(1, this->width() - 2 * kMargin);
  return start() + std::clamp(double(x - kMargin) / width, 0.0, 1.0) * span();
}

void AnimationTimeline::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(rect(), palette().base());
  const int left = xOf(start()), right = xOf(start() + span());
  painter.setPen(palette().text().color());
  painter.drawLine(left, kAxisFromTop, right, kAxisFromTop);
  // A tick and its time under each key; the axis's end with its time when looping.
  for (std::size_t i = 0; i < times_.size(); ++i) {
    const int x = xOf(times_[i]);
    const QRectF marker(x - kMarkerHalf, kAxisFromTop - 2 * kMarkerHalf - 4, 2 * kMarkerHalf,
                        2 * kMarkerHalf);
    painter.setBrush(int(i) == selected_ ? palette().highlight() : palette().base());
    painter.drawRect(marker);
    painter.drawText(QRect(x - 40, kAxisFromTop + 4, 80, 16), Qt::AlignHCenter,
                     QString::number(times_[i], 'g', 4));
  }
  if (!times_.empty() && end_ > times_.back()) {
    painter.setPen(QPen(palette().text().color(), 1, Qt::DashLine));
    painter.drawLine(right, kAxisFromTop - 10, right, kAxisFromTop + 4);
  }
  const int x = xOf(playhead_);
  painter.setPen(QPen(QColor(200, 30, 30), 2));
  painter.drawLine(x, 4, x, height() - 4);
}

void AnimationTimeline::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const int x = int(event->position().x());
  for (int i = int(times_.size()) - 1; i >= 0; --i) {
    if (std::abs(xOf(times_[std::size_t(i)]) - x) <= kMarkerHalf &&
        event->position().y() <= kAxisFromTop) {
      dragging_ = i;
      emit keySelected(i);
      return;
    }
  }
  scrubbing_ = true;
  playhead_ = timeAt(x);
  update();
  emit scrubbed(playhead_);
}

void AnimationTimeline::mouseMoveEvent(QMouseEvent* event) {
  const int x = int(event->position().x());
  if (dragging_ >= 0) {
    emit keyDragged(dragging_, timeAt(x));
  } else if (scrubbing_) {
    playhead_ = timeAt(x);
    update();
    emit scrubbed(playhead_);
  }
}

void AnimationTimeline::mouseReleaseEvent(QMouseEvent*) {
  if (dragging_ >= 0) emit keyDropped(dragging_);
  if (scrubbing_) emit scrubEnded();
  dragging_ = -1;
  scrubbing_ = false;
}

}  // namespace quill
