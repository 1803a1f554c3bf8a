#pragma once

#include <QImage>
#include <QPointF>
#include <QWidget>
#include <optional>
#include <vector>

#include "app/preview_thread.h"
#include "core/editor/map_editor_model.h"
#include "core/editor/map_picking.h"

class QTimer;

namespace quill {

class CollageOverlay;

// The map editor's drawing: the unit square (dashed), the live preview of the attractor behind
// everything, and each map's image of the square as a parallelogram in the map's colour with its
// number, the blue print's L-mark and its corner handles; the selected map also shows its edges'
// midpoints (shear), a rotation handle and a scale handle. A press takes what lies under the
// pointer (the nearest handle, else the smallest map there; pressing the same spot again takes
// the next thing there); dragging empty space pans and the wheel zooms about the pointer. Ctrl
// snaps a drag, Shift turns in 15° steps, Escape cancels a drag. From the keyboard: 1 to 9 and 0
// select a map, Tab and Shift+Tab the handle, the arrows move it by 0.01 (Shift 0.1, Alt 0.001),
// F fits the attractor, A frames everything, Home the unit square.
class MapCanvas : public QWidget {
  Q_OBJECT

 public:
  explicit MapCanvas(MapEditorModel& model, QWidget* parent = nullptr);

  // The grid changed from outside (typing, a panel command): follow it.
  void modelChanged();
  // Frames the attractor with a margin (the maps' images where there is no attractor).
  void fitAttractor();
  // Frames the attractor and every map's parallelogram, so that every handle is in view.
  void frameAll();
  // Frames the unit square.
  void showUnitSquare();
  // Shows the plane's point `centre` in the middle at `pixelsPerUnit`: a view kept from before.
  void setView(QPointF centre, double pixelsPerUnit);

  // Logical pixels of a point of the plane, and back.
  QPointF toWidget(QPointF unit) const;
  QPointF toUnit(QPointF widget) const;
  double pixelsPerUnit() const { return scale_; }
  // The preview's latest frame and how many points it holds, for tests and the status line.
  quint64 previewPoints() const { return previewPoints_; }
  // Where the drag under way snapped, if it did.
  std::optional<QPointF> snapTarget() const { return snapTarget_; }
  // The target and the maps' collage, drawn over the preview; T hides and shows the target.
  void setCollage(CollageOverlay* collage);
  // Map `index`'s colour (0-based), the one palette's.
  static QColor mapColour(int index);

  static constexpr double kHandleRadius = 4;  // logical pixels: 8 across
  static constexpr double kGrabRadius = 7;    // how near the pointer must come to take a handle
  static constexpr int kFrameMilliseconds = 16;

 signals:
  // The editor changed the grid's texts (one map, or a whole undo step taken back or again).
  void gridEdited();
  // The selection or its handle changed.
  void selectionChanged();
  // A message for the status line ("There is no map 7 …"); empty to clear it.
  void said(const QString& message);
  // F1: the keys and mouse actions are asked for.
  void keysAsked();

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
  // What the view shows: kept through a resize until the user zooms or pans by hand.
  enum class Framing { All, Attractor, UnitSquare, ByHand };

  std::vector<Pick> picksAt(QPointF widget) const;
  void frameBox(double xmin, double ymin, double xmax, double ymax);
  void reframe();
  void movedByHand();
  void edited();
  void restartPreview();
  void cancelDrag();
  // A repaint now, then at most one a frame: a held key or a drag changes the maps, and the
  // preview sends frames, faster than the screen shows them, and a repaint of the translucent
  // maps over the preview takes milliseconds.
  void repaintSoon();
  void paintMap(QPainter& painter, int index, const PlaneMap& map) const;
  void paintSelectedHandles(QPainter& painter, int index, const PlaneMap& map) const;
  void paintHandle(QPainter& painter, QPointF at, const QColor& colour, bool active,
                   bool round) const;

  void paintCollage(QPainter& painter) const;

  MapEditorModel& model_;
  CollageOverlay* collage_ = nullptr;  // the panel's; none until set
  PreviewThread preview_;
  QImage previewImage_;
  PreviewFrame previewFrame_;    // where the shown preview image lies
  PreviewFrame requestedFrame_;  // where the drawing under way will lie
  quint64 previewPoints_ = 0;
  QPointF origin_;    // logical pixels of the plane's (0, 0)
  double scale_ = 1;  // logical pixels per unit
  Framing framing_ = Framing::All;
  QTimer* frameTimer_ = nullptr;  // runs for a frame after each repaint asked for
  bool framePending_ = false;     // a repaint waits for the frame's end
  std::optional<Pick> hovered_;
  // The drag under way: what was taken and the map as it was at the press, or a pan.
  std::optional<Pick> dragging_;
  PlaneMap dragStart_;
  QPointF pressUnit_;
  std::optional<QPointF> snapTarget_;
  std::optional<QPointF> panFrom_;
  // Clicks on one spot go down the list of what lies there.
  QPointF lastPress_{-1e9, -1e9};
  std::vector<Pick> pressPicks_;
  bool cycling_ = false;    // the press held the selection on the last press's spot
  bool dragMoved_ = false;  // the press has turned into a drag
};

}  // namespace quill
