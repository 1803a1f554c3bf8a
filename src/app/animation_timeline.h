#pragma once

#include <QWidget>
#include <vector>

namespace quill {

// The Animation window's time axis: a marker for each key at its time, the selected one filled,
// and the playhead. Pressing a marker selects it and dragging moves it; pressing elsewhere puts
// the playhead there and dragging scrubs.
class AnimationTimeline : public QWidget {
  Q_OBJECT

 public:
  explicit AnimationTimeline(QWidget* parent = nullptr);

  // The keys' times in seconds, in order, and the axis's end (the loop's closing time or the last
  // key's).
  void setKeys(std::vector<double> times, double end);
  void setSelected(int index);
  void setPlayhead(double time);
  double playhead() const { return playhead_; }
  int selected() const { return selected_; }

  // The x of `time` and the time at `x`, in the widget's pixels.
  int xOf(double time) const;
  double timeAt(int x) const;

  QSize sizeHint() const override { return {480, 72}; }

 signals:
  void keySelected(int index);
  // A marker dragged to `time`, at each move; dropped at the release.
  void keyDragged(int index, double time);
  void keyDropped(int index);
  void scrubbed(double time);
  void scrubEnded();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  double start() const { return times_.empty() ? 0 : times_.front(); }
  double span() const;

  std::vector<double> times_;
  double end_ = 1;
  int selected_ = -1;
  double playhead_ = 0;
  int dragging_ = -1;  // the key whose marker is being dragged
  bool scrubbing_ = false;
};

}  // namespace quill
