#pragma once

#include <QString>

namespace quill {

class Canvas;

// The canvas window, as the commands see it. The desktop program implements it with a
// window; the headless renderer and the tests with a canvas alone.
class CanvasWindow {
 public:
  virtual ~CanvasWindow() = default;
  // The picture. If the user closed the window, this loads a fresh, empty canvas at the screen's
  // size on the current paper colour.
  virtual Canvas& canvas() = 0;
  virtual void setCaption(const QString& caption) = 0;
  // Makes the canvas visible, modeless, in front of the panel.
  virtual void showCanvas() = 0;
  // The picture changed while the window may be showing it (a new background colour).
  virtual void pictureChanged() {}
};

}  // namespace quill
