#pragma once

#include <QImage>
#include <QPointF>
#include <QWidget>
#include <memory>
#include <optional>

#include "app/preview_thread.h"
#include "core/editor/map_editor_model.h"

class QTimer;

namespace quill {

// The map editor's drawing: the unit square (dashed), the live preview of the attractor behind
// everything, and each map's image of the square as a parallelogram in the map's colour with its
// number, the blue print's L-mark and three handles. Dragging a handle moves that corner alone,
// dragging inside a parallelogram moves it whole, dragging empty space pans and the wheel zooms
// about the pointer. From the keyboard: 1 to 9 and 0 select a map, Tab and Shift+Tab the handle,
// the arrows move it by 0.01 (Shift 0.1, Alt 0.001), F fits the attractor, Home the unit square.
class MapCanvas : public QWidget {
  Q_OBJECT

 public:
  explicit MapCanvas(MapEditorModel& model, QWidget* parent = nullptr);

  // The grid changed from outside (typing, a panel command): follow it.
  void modelChanged();
  // Frames the attractor with a margin (the maps' images where there is no attractor).
  void fitAttractor();
  // Frames the unit square.
  void showUnitSquare();

  // Logical pixels of a point of the plane, and back.
  QPointF toWidget(QPointF unit) const;
  QPointF toUnit(QPointF widget) const;
  double pixelsPerUnit() const { return scale_; }
  // The preview's latest frame and how many points it holds, for tests and the status line.
  quint64 previewPoints() const { return previewPoints_; }

  static constexpr double kHandleRadius = 4;  // logical pixels: 8 across
  static constexpr double kGrabRadius = 7;    // how near the pointer must come to take a handle
  static constexpr int kFrameMilliseconds = 16;

 signals:
  // The editor changed the grid's texts (one map, or a whole undo step taken back or again).
  void gridEdited();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  struct Hit {
    int index;
    Handle handle;
  };
  std::optional<Hit> hitAt(QPointF widget) const;
  void frameBox(double xmin, double ymin, double xmax, double ymax);
  void edited();
  void restartPreview();
  // A repaint now, then at most one a frame: a held key or a drag changes the maps, and the
  // preview sends frames, faster than the screen shows them, and a repaint of the translucent
  // maps over the preview takes milliseconds.
  void repaintSoon();
  void paintMap(QPainter& painter, int index, const PlaneMap& map) const;

  MapEditorModel& model_;
  PreviewThread preview_;
  QImage previewImage_;
  PreviewFrame previewFrame_;    // where the shown preview image lies
  PreviewFrame requestedFrame_;  // where the drawing under way will lie
  quint64 previewPoints_ = 0;
  QPointF origin_;    // logical pixels of the plane's (0, 0)
  double scale_ = 1;  // logical pixels per unit
  bool framed_ = false;
  QTimer* frameTimer_ = nullptr;  // runs for a frame after each repaint asked for
  bool framePending_ = false;     // a repaint waits for the frame's end
  int hovered_ = -1;
  // The drag under way: the map as it was at the press, or a pan.
  std::optional<Hit> dragging_;
  PlaneMap dragStart_;
  QPointF pressUnit_;
  std::optional<QPointF> panFrom_;
};

}  // namespace quill
