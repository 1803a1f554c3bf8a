#include "app/canvas_widget.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include "core/commands/save_picture.h"
#include "core/maps/drawing_state.h"
#include "core/maps/pattern_catalogue.h"

namespace quill {

namespace {

constexpr double kTwipsPerInch = 1440.0;

QScreen* screenOf(const QWidget* widget) {
  QScreen* screen = widget->screen();
  return screen != nullptr ? screen : QGuiApplication::primaryScreen();
}

}  // namespace

CanvasWidget::CanvasWidget(Dialogs& dialogs, QWidget* parent) : QWidget(parent), dialogs_(dialogs) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setWindowTitle(QStringLiteral("CanvasWidget"));
  auto* save = new QAction(tr("Save Picture..."), this);
  save->setObjectName(QStringLiteral("savePicture"));
  save->setShortcut(QKeySequence::Save);
  save->setShortcutContext(Qt::WindowShortcut);
  connect(save, &QAction::triggered, this, &CanvasWidget::savePictureAs);
  addAction(save);
  // The canvas covers the screen; without a task bar this is the way back to the panel.
  auto* showPanel = new QAction(tr("Show Panel"), this);
  showPanel->setObjectName(QStringLiteral("showPanel"));
  showPanel->setShortcut(QKeySequence(Qt::Key_Escape));
  showPanel->setShortcutContext(Qt::WindowShortcut);
  connect(showPanel, &QAction::triggered, this, &CanvasWidget::showPanelRequested);
  addAction(showPanel);
  setContextMenuPolicy(Qt::ActionsContextMenu);
}

CanvasWidget::~CanvasWidget() = default;

double CanvasWidget::twipsPerPixel() const {
  return kTwipsPerInch / screenOf(this)->logicalDotsPerInchX();
}

float CanvasWidget::widthTwips() const { return float(width() * twipsPerPixel()); }
float CanvasWidget::heightTwips() const { return float(height() * twipsPerPixel()); }

void CanvasWidget::resetCanvas(const DrawingState& drawing) {
  shared_ = &drawing;
  load();
}

void CanvasWidget::load() {
  const Rgb paper = shared_ != nullptr ? shared_->paperColor : kWhite;
  const QScreen* screen = screenOf(this);
  const QSize logical = screen->size();
  const int offset = int(10 / twipsPerPixel());
  move(offset, offset);
  frameFit_->setOuterSize(logical);
  // The picture is kept in device pixels so that lines stay one pixel wide on high-DPI screens.
  const double ratio = screen->devicePixelRatio();
  canvas_ = std::make_unique<Canvas>(int(logical.width() * ratio), int(logical.height() * ratio),
                                     twipsPerPixel() / ratio, paper);
}

Canvas& CanvasWidget::canvas() {
  if (!canvas_) load();
  return *canvas_;
}

void CanvasWidget::setCaption(const QString& caption) { setWindowTitle(patternCaption(caption)); }

void CanvasWidget::showCanvas() {
  // A minimised canvas comes back, or the drawing would stay out of sight.
  setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  show();
  raise();
  activateWindow();
  update();
  emit broughtToFront();
  // A window shown for the first time is activated, and raised by the window manager, only once
  // it is mapped: it comes to the front again then.
  frontPending_ = true;
}

void CanvasWidget::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && frontPending_) {
    frontPending_ = false;
    emit broughtToFront();
  }
  QWidget::changeEvent(event);
}

void CanvasWidget::setDrawing(bool drawing) {
  drawing_ = drawing;
  growing_ = QImage();
  update();
}

void CanvasWidget::showGrowingPicture(const QImage& ink) {
  if (!drawing_) return;  // a picture that arrives after the drawing ended is stale
  growing_ = ink;
  update();
}

void CanvasWidget::savePictureAs() {
  if (!canvas_ || drawing_) return;  // nothing drawn since the window was closed, or unfinished
  const QString saved = savePicture(canvas_->picture(), dialogs_, canvas_->drawnFrom());
  if (!saved.isEmpty() && pictureSaved) pictureSaved(saved);
}

void CanvasWidget::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  const double ratio = screenOf(this)->devicePixelRatio();
  // A window larger than its picture (resized, or on a larger screen) shows the background
  // beyond it.
  const Rgb background = canvas_              ? canvas_->backColor()
                         : shared_ != nullptr ? shared_->paperColor
                                              : kWhite;
  painter.fillRect(rect(), QColor::fromRgb(0xFF000000u | background));
  if (drawing_ && !growing_.isNull()) {
    painter.drawImage(QRectF(0, 0, growing_.width() / ratio, growing_.height() / ratio), growing_);
    return;
  }
  if (!canvas_) return;
  canvas_->paint(painter,
                 QRectF(0, 0, canvas_->widthPixels() / ratio, canvas_->heightPixels() / ratio));
}

void CanvasWidget::closeEvent(QCloseEvent* event) {
  if (drawing_) {
    event->ignore();
    return;
  }
  canvas_.reset();  // the window is unloaded: its picture is gone
  QWidget::closeEvent(event);
}

}  // namespace quill
