#include "app/map_canvas.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "app/collage_overlay.h"
#include "core/base/map_palette.h"
#include "core/editor/editor_framing.h"
#include "core/maths/attractor_box.h"

namespace quill {

namespace {

constexpr double kFrameMargin = 0.1;  // share of the view left around what is framed
constexpr double kZoomPerNotch = 1.25;
constexpr double kSameSpot = 3;  // logical pixels between presses that count as one spot

// The pointer's shape over what a press would take.
Qt::CursorShape cursorFor(const std::optional<Pick>& pick) {
  if (!pick) return Qt::ArrowCursor;
  if (pick->handle == Handle::Body) return Qt::SizeAllCursor;
  if (pick->handle == Handle::Rotate) return Qt::PointingHandCursor;
  if (pick->handle == Handle::Scale) return Qt::SizeFDiagCursor;
  return Qt::CrossCursor;
}

}  // namespace

QColor MapCanvas::mapColour(int index) {
  return QColor::fromRgb(QRgb(kMapPalette[std::size_t(index) % kMapPalette.size()]));
}

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
  if (hovered_ && hovered_->index >= model_.mapCount()) hovered_.reset();
  restartPreview();
  repaintSoon();
}

void MapCanvas::edited() {
  modelChanged();
  emit gridEdited();
  emit selectionChanged();
}

void MapCanvas::frameBox(double xmin, double ymin, double xmax, double ymax) {
  const double w = std::max(xmax - xmin, 1e-9);
  const double h = std::max(ymax - ymin, 1e-9);
  scale_ = std::min(width() / w, height() / h) * (1 - 2 * kFrameMargin);
  const QPointF centre((xmin + xmax) / 2, (ymin + ymax) / 2);
  origin_ = QPointF(width() / 2.0 - centre.x() * scale_, height() / 2.0 + centre.y() * scale_);
  restartPreview();
  update();
}

void MapCanvas::showUnitSquare() {
  framing_ = Framing::UnitSquare;
  frameBox(0, 0, 1, 1);
}

void MapCanvas::setView(QPointF centre, double pixelsPerUnit) {
  scale_ = pixelsPerUnit;
  origin_ = QPointF(width() / 2.0 - centre.x() * scale_, height() / 2.0 + centre.y() * scale_);
  framing_ = Framing::ByHand;
  restartPreview();
  update();
}

void MapCanvas::frameAll() {
  framing_ = Framing::All;
  std::vector<PlaneMap> maps;
  for (const WeightedMap& each : model_.previewMaps()) maps.push_back(each.map);
  const Box box = frameAllBox(maps);
  frameBox(box.xmin, box.ymin, box.xmax, box.ymax);
}

void MapCanvas::fitAttractor() {
  framing_ = Framing::Attractor;
  std::vector<PlaneMap> maps;
  for (const WeightedMap& each : model_.previewMaps()) maps.push_back(each.map);
  // No attractor (a map that does not contract): the maps' images of the square.
  const Box box = attractorBox(maps).value_or(parallelogramsBox(maps).value_or(Box{0, 0, 1, 1}));
  frameBox(box.xmin, box.ymin, box.xmax, box.ymax);
}

void MapCanvas::reframe() {
  switch (framing_) {
    case Framing::All:
      frameAll();
      break;
    case Framing::Attractor:
      fitAttractor();
      break;
    case Framing::UnitSquare:
      showUnitSquare();
      break;
    case Framing::ByHand:
      restartPreview();
      break;
  }
}

void MapCanvas::movedByHand() {
  framing_ = Framing::ByHand;
  restartPreview();
  update();
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

void MapCanvas::resizeEvent(QResizeEvent* event) {
  if (framing_ == Framing::ByHand) {
    // The view framed by hand keeps its scale and its centre.
    origin_ += QPointF(event->size().width() - event->oldSize().width(),
                       event->size().height() - event->oldSize().height()) /
               2;
    if (event->oldSize().isValid()) {
      restartPreview();
      return;
    }
  }
  reframe();
}

std::vector<Pick> MapCanvas::picksAt(QPointF widget) const {
  return pickCandidates(model_.shapes(), model_.selected(), toUnit(widget), 1 / scale_,
                        kGrabRadius);
}

void MapCanvas::mousePressEvent(QMouseEvent* event) {
  setFocus();
  if (event->button() != Qt::LeftButton) return;
  emit said(QString());
  const QPointF at = event->position();
  std::vector<Pick> picks = picksAt(at);
  if (picks.empty()) {
    lastPress_ = QPointF(-1e9, -1e9);
    model_.select(-1);
    panFrom_ = at;
    emit selectionChanged();
    update();
    return;
  }
  // A press on the spot of the last press holds what is selected there, and a click (a press
  // and a release without a drag) then takes the next thing there: clicks go round them all.
  const QPointF moved = at - lastPress_;
  const Pick current{model_.selected(), model_.handle()};
  cycling_ = std::hypot(moved.x(), moved.y()) <= kSameSpot &&
             std::find(picks.begin(), picks.end(), current) != picks.end();
  lastPress_ = at;
  pressPicks_ = picks;
  dragMoved_ = false;
  const Pick pick = cycling_ ? current : picks.front();
  model_.beginDrag();
  model_.select(pick.index, pick.handle);
  dragging_ = pick;
  dragStart_ = *model_.shape(pick.index);
  pressUnit_ = toUnit(at);
  snapTarget_.reset();
  emit selectionChanged();
  update();
}

void MapCanvas::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_) {
    DragInput input;
    input.start = dragStart_;
    input.handle = dragging_->handle;
    input.press = pressUnit_;
    input.pointer = toUnit(event->position());
    input.shift = event->modifiers() & Qt::ShiftModifier;
    input.ctrl = event->modifiers() & Qt::ControlModifier;
    input.unitsPerPixel = 1 / scale_;
    snapTarget_ = model_.drag(dragging_->index, input).snappedTo;
    dragMoved_ = true;
    edited();
    return;
  }
  if (panFrom_) {
    origin_ += event->position() - *panFrom_;
    panFrom_ = event->position();
    movedByHand();
    return;
  }
  const std::vector<Pick> picks = picksAt(event->position());
  const std::optional<Pick> hovered =
      picks.empty() ? std::nullopt : std::optional<Pick>(picks.front());
  if (hovered != hovered_) {
    hovered_ = hovered;
    setCursor(cursorFor(hovered));
    update();
  }
}

void MapCanvas::mouseReleaseEvent(QMouseEvent* /*event*/) {
  if (dragging_ && !dragMoved_ && cycling_) {
    const auto held = std::find(pressPicks_.begin(), pressPicks_.end(), *dragging_);
    if (held != pressPicks_.end()) {
      const Pick next =
          pressPicks_[std::size_t(held - pressPicks_.begin() + 1) % pressPicks_.size()];
      model_.select(next.index, next.handle);
      emit selectionChanged();
    }
  }
  if (dragging_) {
    model_.endStep();  // the whole drag is one step, however long
    dragging_.reset();
    snapTarget_.reset();
    emit gridEdited();
    update();
  }
  panFrom_.reset();
}

void MapCanvas::cancelDrag() {
  model_.cancelDrag();
  dragging_.reset();
  snapTarget_.reset();
  edited();
}

void MapCanvas::wheelEvent(QWheelEvent* event) {
  const double notches = event->angleDelta().y() / 120.0;
  if (notches == 0) return;
  const QPointF pointer = event->position();
  const QPointF unit = toUnit(pointer);
  scale_ *= std::pow(kZoomPerNotch, notches);
  origin_ = QPointF(pointer.x() - unit.x() * scale_, pointer.y() + unit.y() * scale_);
  movedByHand();
}

bool MapCanvas::focusNextPrevChild(bool /*next*/) { return false; }  // Tab picks a handle here

void MapCanvas::setCollage(CollageOverlay* collage) {
  collage_ = collage;
  connect(collage_, &CollageOverlay::changed, this, &MapCanvas::repaintSoon);
}

void MapCanvas::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (key == Qt::Key_Escape) {
    if (dragging_) cancelDrag();
    return;
  }
  if (dragging_) return;  // the drag holds the map until it ends
  emit said(QString());
  if (event->matches(QKeySequence::Undo)) {
    if (model_.undo()) edited();
    return;
  }
  if (event->matches(QKeySequence::Redo) ||
      (key == Qt::Key_Y && event->modifiers() == Qt::ControlModifier)) {
    if (model_.redo()) edited();
    return;
  }
  if (key == Qt::Key_T && collage_ != nullptr && collage_->hasTarget()) {
    collage_->setShown(!collage_->shown());
    return;
  }
  if (key >= Qt::Key_0 && key <= Qt::Key_9 && !(event->modifiers() & Qt::ControlModifier)) {
    const Status selected = model_.selectNumber(key == Qt::Key_0 ? 9 : key - Qt::Key_1);
    if (!selected) emit said(selected.message());
    emit selectionChanged();
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
      emit selectionChanged();
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
    case Qt::Key_A:
      frameAll();
      return;
    case Qt::Key_Home:
      showUnitSquare();
      return;
    case Qt::Key_F1:
      emit keysAsked();
      return;
    case Qt::Key_Insert: {
      const Status inserted = model_.insertMap();
      if (inserted) {
        edited();
      } else {
        emit said(inserted.message());
      }
      return;
    }
    case Qt::Key_Delete:
      if (model_.deleteSelected()) edited();
      return;
    default:
      QWidget::keyPressEvent(event);
  }
}

}  // namespace quill
