#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "app/frame_fit.h"
#include "core/canvas/canvas.h"
#include "core/document/canvas_window.h"

namespace quill {

class Dialogs;
struct DrawingState;

// The canvas window on which every picture is drawn. It is created hidden at start-up
// and sized to the screen; the drawing commands show it. Closing it throws the picture away: the
// next drawing loads a fresh canvas on the current paper colour. Its right-click menu and Ctrl+S
// save the picture as an image file; Escape and "Show Panel" bring the panel back to the front.
class CanvasWidget : public QWidget, public CanvasWindow {
  Q_OBJECT

 public:
  explicit CanvasWidget(Dialogs& dialogs, QWidget* parent = nullptr);
  ~CanvasWidget() override;

  // The load event: top-left at (10, 10) twips, the screen's size, background paperColor. The
  // window keeps `drawing` to load a fresh canvas on its paper colour after it was closed.
  void resetCanvas(const DrawingState& drawing);

  // Outer size in twips, from which the drawing square is derived.
  float widthTwips() const;
  float heightTwips() const;
  double twipsPerPixel() const;  // per logical pixel

  Canvas& canvas() override;
  void setCaption(const QString& caption) override;
  void showCanvas() override;
  void pictureChanged() override { update(); }

  // "Save Picture...": asks for a file name and writes the drawing area as shown.
  void savePictureAs();
  // Told of each picture "Save Picture..." wrote.
  std::function<void(const QString& path)> pictureSaved;

  // While a drawing runs on another thread the window cannot be closed (the drawing's picture
  // comes back to it when the drawing ends), and shows the growing picture it is handed.
  void setDrawing(bool drawing);
  // The drawing's ink so far (no background), shown over the canvas's background.
  void showGrowingPicture(const QImage& ink);

 signals:
  // The user asked for the control panel, which the full-screen canvas hides.
  void showPanelRequested();
  // The canvas came to the front with a drawing, over every other window of the program.
  void broughtToFront();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void load();

  const DrawingState* shared_ = nullptr;  // the document's, for the paper colour
  Dialogs& dialogs_;
  std::unique_ptr<Canvas> canvas_;
  bool drawing_ = false;
  bool frontPending_ = false;  // shown by a drawing, and not yet active since
  QImage growing_;             // the running drawing's ink, shown in place of the canvas's
  FrameFit* frameFit_ = new FrameFit(*this);  // the frame covers the screen; owned by this
};

}  // namespace quill
