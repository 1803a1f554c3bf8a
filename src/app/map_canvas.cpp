#include "app/map_canvas.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <array>
#include <cmath>

#include "core/maths/attractor_box.h"

namespace quill {

namespace {

// One colour per map, told apart easily and dark enough to read over the preview.
const std::array<QColor, kGridRows> kMapColours = {
    QColor(31, 119, 180),  QColor(214, 39, 40), QColor(44, 160, 44),   QColor(255, 127, 14),
    QColor(148, 103, 189), QColor(140, 86, 75), QColor(227, 119, 194), QColor(23, 190, 207),
    QColor(188, 189, 34),  QColor(90, 90, 90)};

constexpr double kFrameMargin = 0.1;  // share of the view left around what is framed
constexpr double kZoomPerNotch = 1.25;

QPointF apply(const PlaneMap& map, double x, double y) {
  return {map.a * x + map.b * y + map.e, map.c * x + map.d * y + map.f};
}

}  // namespace

MapCanvas::MapCanvas(MapEditorModel& model, QWidget* parent) : QWidget(parent), model_(model) {
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  setMinimumSize(200, 200);
  setObjectName(QStringLiteral("mapCanvas"));
  frameTimer_ = new QTimer(this);
  frameTimer_->setSingleShot(true);
  frameTimer_->setInterval(kFrameMilliseconds);
  connect(frameTimer_, &QTimer::timeout, this, [this] {
    if (!framePending_) return;
    framePending_ = false;
    update();
    frameTimer_->start();
  });
  connect(&preview_, &PreviewThread::rendered, this, [this](const QImage& image, quint64 points) {
    previewImage_ = image;
    previewFrame_ = requestedFrame_;
    previewPoints_ = points;
    repaintSoon();
  });
}

void MapCanvas::repaintSoon() {
  if (frameTimer_->isActive()) {
    framePending_ = true;
    return;
  }
  update();
  frameTimer_->start();
}

QPointF MapCanvas::toWidget(QPointF unit) const {
  return {origin_.x() + unit.x() * scale_, origin_.y() - unit.y() * scale_};
}

QPointF MapCanvas::toUnit(QPointF widget) const {
  return {(widget.x() - origin_.x()) / scale_, (origin_.y() - widget.y()) / scale_};
}

void MapCanvas::modelChanged() {
  if (hovered_ >= model_.mapCount()) hovered_ = -1;
  restartPreview();
  repaintSoon();
}

void MapCanvas::edited() {
  modelChanged();
  emit gridEdited();
}

void MapCanvas::frameBox(double xmin, double ymin, double xmax, double ymax) {
  const double w = std::max(xmax - xmin, 1e-9);
  const double h = std::max(ymax - ymin, 1e-9);
  scale_ = std::min(width() / w, height() / h) * (1 - 2 * kFrameMargin);
  const QPointF centre((xmin + xmax) / 2, (ymin + ymax) / 2);
  origin_ = QPointF(width() / 2.0 - centre.x() * scale_, height() / 2.0 + centre.y() * scale_);
  framed_ = true;
  restartPreview();
  update();
}

void MapCanvas::showUnitSquare() { frameBox(0, 0, 1, 1); }

void MapCanvas::fitAttractor() {
  std::vector<PlaneMap> maps;
  for (const WeightedMap& each : model_.previewMaps()) maps.push_back(each.map);
  if (const std::optional<Box> box = attractorBox(maps)) {
    frameBox(box->xmin, box->ymin, box->xmax, box->ymax);
    return;
  }
  // No attractor (a map that does not contract): the maps' images of the square.
  double xmin = 0, ymin = 0, xmax = 1, ymax = 1;
  for (const PlaneMap& map : maps) {
    for (const auto& [x, y] : {std::pair{0.0, 0.0}, {1.0, 0.0}, {0.0, 1.0}, {1.0, 1.0}}) {
      const QPointF p = apply(map, x, y);
      if (!std::isfinite(p.x()) || !std::isfinite(p.y())) continue;
      xmin = std::min(xmin, p.x());
      xmax = std::max(xmax, p.x());
      ymin = std::min(ymin, p.y());
      ymax = std::max(ymax, p.y());
    }
  }
  frameBox(xmin, ymin, xmax, ymax);
}

void MapCanvas::restartPreview() {
  if (width() <= 0 || height() <= 0) return;
  const double ratio = devicePixelRatioF();
  PreviewFrame frame;
  frame.width = int(std::lround(width() * ratio));
  frame.height = int(std::lround(height() * ratio));
  frame.pixelSize = 1 / (scale_ * ratio);
  const QPointF topLeft = toUnit(QPointF(0, 0));
  frame.left = topLeft.x();
  frame.top = topLeft.y();
  requestedFrame_ = frame;
  previewPoints_ = 0;  // until the first frame of this drawing arrives
  preview_.render(model_.previewMaps(), frame);
}

void MapCanvas::resizeEvent(QResizeEvent* /*event*/) {
  if (!framed_) {
    showUnitSquare();
    framed_ = false;  // keep framing the square until the user moves the view
    return;
  }
  restartPreview();
}

std::optional<MapCanvas::Hit> MapCanvas::hitAt(QPointF widget) const {
  const double grab = kGrabRadius * kGrabRadius;
  auto near = [&](QPointF unit) {
    const QPointF d = toWidget(unit) - widget;
    return d.x() * d.x() + d.y() * d.y() <= grab;
  };
  // The selected map's corners first, then every map's, then the insides, top map first.
  std::vector<int> order;
  if (model_.selected() >= 0) order.push_back(model_.selected());
  for (int i = model_.mapCount() - 1; i >= 0; --i) {
    if (i != model_.selected()) order.push_back(i);
  }
  for (int index : order) {
    if (!model_.shape(index)) continue;
    for (Handle handle : {Handle::P0, Handle::P1, Handle::P2}) {
      if (near(handlePoint(*model_.shape(index), handle))) return Hit{index, handle};
    }
  }
  const QPointF unit = toUnit(widget);
  for (int index : order) {
    if (!model_.shape(index)) continue;
    const PlaneMap& m = *model_.shape(index);
    // unit = P0 + s·(P1 − P0) + t·(P2 − P0), inside for s and t in [0, 1].
    const double det = m.a * m.d - m.b * m.c;
    if (det == 0 || !std::isfinite(det)) continue;
    const double x = unit.x() - m.e;
    const double y = unit.y() - m.f;
    const double s = (m.d * x - m.b * y) / det;
    const double t = (m.a * y - m.c * x) / det;
    if (s >= 0 && s <= 1 && t >= 0 && t <= 1) return Hit{index, Handle::Body};
  }
  return std::nullopt;
}

void MapCanvas::mousePressEvent(QMouseEvent* event) {
  setFocus();
  if (event->button() != Qt::LeftButton) return;
  const std::optional<Hit> hit = hitAt(event->position());
  if (!hit) {
    model_.select(-1);
    panFrom_ = event->position();
    update();
    return;
  }
  model_.endStep();  // a drag of its own, never folded into the last one
  model_.select(hit->index);
  while (model_.handle() != hit->handle) model_.cycleHandle(false);
  dragging_ = hit;
  dragStart_ = *model_.shape(hit->index);
  pressUnit_ = toUnit(event->position());
  update();
}

void MapCanvas::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_) {
    const QPointF unit = toUnit(event->position());
    model_.dragTo(dragging_->index, dragStart_, dragging_->handle, unit.x() - pressUnit_.x(),
                  unit.y() - pressUnit_.y());
    edited();
    return;
  }
  if (panFrom_) {
    origin_ += event->position() - *panFrom_;
    panFrom_ = event->position();
    framed_ = true;
    restartPreview();
    update();
    return;
  }
  const std::optional<Hit> hit = hitAt(event->position());
  const int hovered = hit ? hit->index : -1;
  if (hovered != hovered_) {
    hovered_ = hovered;
    update();
  }
}

void MapCanvas::mouseReleaseEvent(QMouseEvent* /*event*/) {
  if (dragging_) {
    model_.endStep();  // the whole drag is one step, however long
    dragging_.reset();
    emit gridEdited();
  }
  panFrom_.reset();
}

void MapCanvas::wheelEvent(QWheelEvent* event) {
  const double notches = event->angleDelta().y() / 120.0;
  if (notches == 0) return;
  const QPointF pointer = event->position();
  const QPointF unit = toUnit(pointer);
  scale_ *= std::pow(kZoomPerNotch, notches);
  origin_ = QPointF(pointer.x() - unit.x() * scale_, pointer.y() + unit.y() * scale_);
  framed_ = true;
  restartPreview();
  update();
}

bool MapCanvas::focusNextPrevChild(bool /*next*/) { return false; }  // Tab picks a handle here

void MapCanvas::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (event->matches(QKeySequence::Undo)) {
    if (model_.undo()) edited();
    return;
  }
  if (event->matches(QKeySequence::Redo) ||
      (key == Qt::Key_Y && event->modifiers() == Qt::ControlModifier)) {
    if (model_.redo()) edited();
    return;
  }
  if (key >= Qt::Key_0 && key <= Qt::Key_9 && !(event->modifiers() & Qt::ControlModifier)) {
    const int index = key == Qt::Key_0 ? 9 : key - Qt::Key_1;
    if (index < model_.mapCount()) model_.select(index);
    update();
    return;
  }
  double step = 0.01;
  if (event->modifiers() & Qt::ShiftModifier) step = 0.1;
  if (event->modifiers() & Qt::AltModifier) step = 0.001;
  switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      model_.cycleHandle(key == Qt::Key_Backtab);
      update();
      return;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: {
      const double dx = key == Qt::Key_Left ? -step : key == Qt::Key_Right ? step : 0;
      const double dy = key == Qt::Key_Down ? -step : key == Qt::Key_Up ? step : 0;
      if (model_.moveSelected(dx, dy)) edited();
      return;
    }
    case Qt::Key_F:
      fitAttractor();
      return;
    case Qt::Key_Home:
      showUnitSquare();
      return;
    case Qt::Key_Insert:
      if (model_.insertMap()) edited();
      return;
    case Qt::Key_Delete:
      if (model_.deleteSelected()) edited();
      return;
    default:
      QWidget::keyPressEvent(event);
  }
}

void MapCanvas::paintMap(QPainter& painter, int index, const PlaneMap& map) const {
  const QColor colour = kMapColours[std::size_t(index)];
  const bool selected = index == model_.selected();
  const bool hovered = index == hovered_;
  const QPointF p0 = toWidget(handlePoint(map, Handle::P0));
  const QPointF p1 = toWidget(handlePoint(map, Handle::P1));
  const QPointF p2 = toWidget(handlePoint(map, Handle::P2));
  const QPolygonF outline({p0, p1, p1 + p2 - p0, p2});
  QColor fill = colour;
  fill.setAlpha(selected ? 60 : hovered ? 40 : 18);
  painter.setBrush(fill);
  painter.setPen(QPen(colour, selected ? 2.5 : hovered ? 2 : 1.25));
  painter.drawPolygon(outline);
  // The blue print's L: which way the map turns and mirrors the square.
  painter.setBrush(Qt::NoBrush);
  painter.drawPolyline(QPolygonF({toWidget(apply(map, 0.1, 0.9)), toWidget(apply(map, 0.1, 0.6)),
                                  toWidget(apply(map, 0.15, 0.6))}));
  QFont font = painter.font();
  font.setBold(true);
  painter.setFont(font);
  painter.drawText(toWidget(apply(map, 0.1, 0.9)) + QPointF(4, 14), QString::number(index + 1));
  for (Handle handle : {Handle::P0, Handle::P1, Handle::P2}) {
    const QPointF at = toWidget(handlePoint(map, handle));
    const bool active = selected && model_.handle() == handle;
    const double r = active ? kHandleRadius + 1.5 : kHandleRadius;
    painter.setPen(QPen(colour.darker(130), 1.25));
    painter.setBrush(active ? colour : QColor(Qt::white));
    painter.drawRect(QRectF(at.x() - r, at.y() - r, 2 * r, 2 * r));
  }
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
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(120, 120, 120), 1, Qt::DashLine));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRectF(toWidget(QPointF(0, 1)), toWidget(QPointF(1, 0))));
  for (int i = 0; i < model_.mapCount(); ++i) {
    if (model_.shape(i)) paintMap(painter, i, *model_.shape(i));
  }
  if (model_.selected() >= 0 && model_.shape(model_.selected()) &&
      model_.handle() == Handle::Body) {
    const QPointF centre = toWidget(handlePoint(*model_.shape(model_.selected()), Handle::Body));
    painter.setPen(QPen(kMapColours[std::size_t(model_.selected())], 2));
    painter.drawLine(centre - QPointF(6, 0), centre + QPointF(6, 0));
    painter.drawLine(centre - QPointF(0, 6), centre + QPointF(0, 6));
  }
}

}  // namespace quill
