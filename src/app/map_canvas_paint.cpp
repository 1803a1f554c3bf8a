// How the map editor draws: the preview under everything, the unit square, then each map, the
// selected one with its extra handles, and the target a Ctrl-drag snapped to.

#include <QPainter>
#include <QPainterPath>

#include "app/collage_overlay.h"
#include "app/map_canvas.h"

namespace quill {

namespace {

constexpr double kBadgeRadius = 9;  // logical pixels: the selected map's numbered disc

}  // namespace

void MapCanvas::paintHandle(QPainter& painter, QPointF at, const QColor& colour, bool active,
                            bool round) const {
  const double r = active ? kHandleRadius + 1.5 : kHandleRadius;
  painter.setPen(QPen(colour.darker(130), 1.25));
  painter.setBrush(active ? colour : QColor(Qt::white));
  const QRectF box(at.x() - r, at.y() - r, 2 * r, 2 * r);
  if (round) {
    painter.drawEllipse(box);
  } else {
    painter.drawRect(box);
  }
}

void MapCanvas::paintMap(QPainter& painter, int index, const PlaneMap& map) const {
  const QColor colour = mapColour(index);
  const bool selected = index == model_.selected();
  const bool hovered = hovered_ && hovered_->index == index && !selected;
  QPolygonF outline;
  for (const QPointF& corner : parallelogram(map)) outline << toWidget(corner);
  if (hovered) {  // a light halo round the map under the pointer
    QColor halo = colour;
    halo.setAlpha(90);
    painter.setPen(QPen(halo, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolygon(outline);
  }
  QColor fill = colour;
  fill.setAlpha(selected ? 55 : 18);
  painter.setBrush(fill);
  painter.setPen(QPen(colour, selected ? 3 : 1.25));
  painter.drawPolygon(outline);
  // The blue print's L: which way the map turns and mirrors the square.
  painter.setPen(QPen(colour, 1.25));
  painter.setBrush(Qt::NoBrush);
  painter.drawPolyline(
      QPolygonF({toWidget(applyMap(map, 0.1, 0.9)), toWidget(applyMap(map, 0.1, 0.6)),
                 toWidget(applyMap(map, 0.15, 0.6))}));
  QFont font = painter.font();
  font.setBold(true);
  painter.setFont(font);
  const QPointF label = toWidget(applyMap(map, 0.1, 0.9)) + QPointF(4, 14);
  if (selected) {  // the number white on a disc of the map's colour
    const QPointF centre = label + QPointF(4, -5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(centre, kBadgeRadius, kBadgeRadius);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(centre - QPointF(kBadgeRadius, kBadgeRadius),
                            QSizeF(2 * kBadgeRadius, 2 * kBadgeRadius)),
                     Qt::AlignCenter, QString::number(index + 1));
  } else {
    painter.setPen(colour);
    painter.drawText(label, QString::number(index + 1));
  }
  if (selected) paintSelectedHandles(painter, index, map);
  for (Handle handle : kCornerHandles) {
    const bool active = selected && model_.handle() == handle;
    const QPointF at = toWidget(handlePoint(map, handle));
    paintHandle(painter, at, colour, active, false);
    if (active) {
      painter.setPen(colour.darker(150));
      painter.drawText(at + QPointF(8, -8), handle == Handle::P0   ? QStringLiteral("P0")
                                            : handle == Handle::P1 ? QStringLiteral("P1")
                                                                   : QStringLiteral("P2"));
    }
  }
}

void MapCanvas::paintSelectedHandles(QPainter& painter, int index, const PlaneMap& map) const {
  const QColor colour = mapColour(index);
  const double unitsPerPixel = 1 / scale_;
  // The rotation handle on a stalk from the top edge's midpoint.
  const QPointF top = toWidget(handlePoint(map, Handle::EdgeP2P3));
  const QPointF turn = toWidget(handlePoint(map, Handle::Rotate, unitsPerPixel));
  painter.setPen(QPen(colour, 1.25, Qt::DotLine));
  painter.drawLine(top, turn);
  for (Handle handle : kSelectedMapHandles) {
    const bool active = model_.handle() == handle;
    const QPointF at = toWidget(handlePoint(map, handle, unitsPerPixel));
    if (handle == Handle::Scale) {  // a diamond at the fourth corner
      const double r = active ? kHandleRadius + 2.5 : kHandleRadius + 1;
      painter.setPen(QPen(colour.darker(130), 1.25));
      painter.setBrush(active ? colour : QColor(Qt::white));
      painter.drawPolygon(QPolygonF(
          {at + QPointF(0, -r), at + QPointF(r, 0), at + QPointF(0, r), at + QPointF(-r, 0)}));
      continue;
    }
    paintHandle(painter, at, colour, active, true);
  }
  if (model_.handle() == Handle::Body) {  // the body held: a cross at the centre
    const QPointF centre = toWidget(handlePoint(map, Handle::Body));
    painter.setPen(QPen(colour, 2));
    painter.drawLine(centre - QPointF(6, 0), centre + QPointF(6, 0));
    painter.drawLine(centre - QPointF(0, 6), centre + QPointF(0, 6));
  }
}

void MapCanvas::paintCollage(QPainter& painter) const {
  if (collage_ == nullptr || !collage_->hasTarget() || !collage_->shown()) return;
  const QRectF grid = CollageOverlay::gridRect();
  const QRectF area(toWidget(grid.topLeft()),
                    toWidget(QPointF(grid.right(), grid.top() - grid.height())));
  painter.save();
  painter.setOpacity(collage_->opacity());
  painter.drawImage(area, collage_->backdrop());
  painter.setOpacity(1);
  if (collage_->collage()) painter.drawImage(area, collage_->collage()->picture);
  painter.restore();
}

void MapCanvas::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (!previewImage_.isNull()) {
    const PreviewFrame& f = previewFrame_;
    const QPointF topLeft = toWidget(QPointF(f.left, f.top));
    const QPointF bottomRight =
        toWidget(QPointF(f.left + f.width * f.pixelSize, f.top - f.height * f.pixelSize));
    painter.drawImage(QRectF(topLeft, bottomRight), previewImage_);
  }
  paintCollage(painter);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(120, 120, 120), 1, Qt::DashLine));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRectF(toWidget(QPointF(0, 1)), toWidget(QPointF(1, 0))));
  // The selected map last, so that its handles lie on top.
  for (int i = 0; i < model_.mapCount(); ++i) {
    if (model_.shape(i) && i != model_.selected()) paintMap(painter, i, *model_.shape(i));
  }
  if (model_.selected() >= 0 && model_.shape(model_.selected())) {
    paintMap(painter, model_.selected(), *model_.shape(model_.selected()));
  }
  if (hovered_ && hovered_->handle != Handle::Body && !dragging_ &&
      hovered_->index < model_.mapCount() && model_.shape(hovered_->index)) {
    // A ring round the handle a press would take.
    const QPointF at =
        toWidget(handlePoint(*model_.shape(hovered_->index), hovered_->handle, 1 / scale_));
    painter.setPen(QPen(mapColour(hovered_->index), 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(at, kGrabRadius + 2, kGrabRadius + 2);
  }
  if (snapTarget_) {  // where a Ctrl-drag snapped
    const QPointF at = toWidget(*snapTarget_);
    painter.setPen(QPen(QColor(0, 0, 0), 2));
    painter.setBrush(QColor(255, 210, 0, 160));
    painter.drawEllipse(at, 9, 9);
    painter.drawLine(at - QPointF(13, 0), at + QPointF(13, 0));
    painter.drawLine(at - QPointF(0, 13), at + QPointF(0, 13));
  }
}

}  // namespace quill
