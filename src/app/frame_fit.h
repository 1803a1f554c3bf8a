#pragma once

#include <QObject>
#include <QSize>

class QWidget;

namespace quill {

// Gives a top-level window an outer size, its frame and title bar included. The window system
// reports the frame only once it has decorated the shown window, so the window first gets the
// whole size itself, and is shrunk by the frame as soon as the frame is known: FrameFit watches
// the window's show and move events (a window manager moves the window when it adds the frame).
class FrameFit : public QObject {
 public:
  explicit FrameFit(QWidget& window);

  // The outer size the window should have; fitting starts over.
  void setOuterSize(const QSize& outer);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void apply();

  QWidget& window_;
  QSize outer_;
  bool fitted_ = true;
};

}  // namespace quill
