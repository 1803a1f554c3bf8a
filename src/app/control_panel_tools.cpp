// The panel's tools: undo and redo of the panel's steps, and the tool windows (the map editor,
// the maths report and the picture dialog), each a window of the panel's opened beside its
// controls, with the grid kept in step between them.

#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <algorithm>

#include "app/animation_window.h"
#include "app/collage_overlay.h"
#include "app/control_panel.h"
#include "app/file_drop.h"
#include "app/map_editor.h"
#include "app/maths_report_window.h"
#include "app/picture_dialog.h"
#include "app/target_fit.h"
#include "core/document/document.h"

namespace quill {

namespace {

void bringToFront(QWidget& window) {
  window.show();
  window.raise();
  window.activateWindow();
}

const QKeyCombination kUndoKey(Qt::CTRL, Qt::Key_Z);
const QKeyCombination kRedoKey(Qt::CTRL | Qt::SHIFT, Qt::Key_Z);
const QKeyCombination kOtherRedoKey(Qt::CTRL, Qt::Key_Y);

// "Undo Move Map 2", or "Undo" alone (disabled) when there is no step to take.
QAction* addStepAction(QMenu* menu, QUndoStack& steps, bool redo) {
  const QString verb = redo ? ControlPanel::tr("Redo") : ControlPanel::tr("Undo");
  QAction* action = menu->addAction(verb);
  auto name = [action, verb](const QString& step) {
    action->setText(step.isEmpty() ? verb : verb + u' ' + step);
  };
  name(redo ? steps.redoText() : steps.undoText());
  action->setEnabled(redo ? steps.canRedo() : steps.canUndo());
  QObject::connect(&steps, redo ? &QUndoStack::redoTextChanged : &QUndoStack::undoTextChanged,
                   action, name);
  QObject::connect(&steps, redo ? &QUndoStack::canRedoChanged : &QUndoStack::canUndoChanged, action,
                   &QAction::setEnabled);
  return action;
}

}  // namespace

void ControlPanel::addStepActions(QMenu* tools) {
  QAction* undo = addStepAction(tools, document_.undoStack, false);
  undo->setObjectName(QStringLiteral("undoAction"));
  undo->setShortcut(QKeySequence(kUndoKey));
  connect(undo, &QAction::triggered, this, &ControlPanel::undo);
  QAction* redo = addStepAction(tools, document_.undoStack, true);
  redo->setObjectName(QStringLiteral("redoAction"));
  redo->setShortcuts({QKeySequence(kRedoKey), QKeySequence(kOtherRedoKey)});
  connect(redo, &QAction::triggered, this, &ControlPanel::redo);
}

void ControlPanel::takeStep(bool redo) {
  if (!(redo ? editorModel_.redo() : editorModel_.undo())) return;
  refreshFromState();
  gridChanged();
}

void ControlPanel::typed(QString& field, const QString& text) {
  // Typing takes the grid back from a fit: the fit ends first as a step of its own, the other
  // fields then showing its best maps, and this one what the user typed over what it showed.
  const bool fitting = targetFit_->running();
  targetFit_->settle();
  if (&field != typingIn_) {
    typingIn_ = &field;
    ++typingSpell_;
  }
  const PanelSnapshot before = PanelSnapshot::of(state_);
  field = text;
  recordStep(document_.undoStack, state_, before, tr("Typing"), StepKind::Typing, typingSpell_);
  if (fitting) {
    refreshFromState();
    typingIn_ = &field;  // the spell goes on with the next key
  }
}

bool ControlPanel::claimedByPanel(QObject* field, QEvent* event) {
  const QKeyCombination key = static_cast<QKeyEvent*>(event)->keyCombination();
  if (key == QKeyCombination(Qt::CTRL, Qt::Key_E)) return true;
  const auto* edit = qobject_cast<QLineEdit*>(field);
  if (edit == nullptr) return false;
  if (key == kUndoKey) return !edit->isUndoAvailable();
  if (key == kRedoKey || key == kOtherRedoKey) return !edit->isRedoAvailable();
  return false;
}

void ControlPanel::gridChanged() {
  if (mapEditor_) mapEditor_->gridChanged();
  if (mathsReport_) mathsReport_->gridChanged();
}

void ControlPanel::gridEditedInEditor() {
  refreshFromState();
  if (mathsReport_) mathsReport_->gridChanged();
}

void ControlPanel::gridEditedInReport() {
  refreshFromState();
  if (mapEditor_) mapEditor_->gridChanged();
}

void ControlPanel::openMapEditor() {
  if (!mapEditor_) {
    // A window of the panel's, as the report and the picture dialog are: it stays in front of the
    // panel, which fills most of the screen, while the user types in the grid.
    mapEditor_ = std::make_unique<MapEditor>(editorModel_, this);
    connect(mapEditor_.get(), &MapEditor::gridEdited, this, &ControlPanel::gridEditedInEditor);
    mapEditor_->setCollage(collage_);
    connect(mapEditor_.get(), &MapEditor::fitAsked, this, &ControlPanel::fitToTarget);
    connect(mapEditor_.get(), &MapEditor::stopAsked, targetFit_, &TargetFit::stop);
    fileDrop_->watch(mapEditor_.get());
    // Beside the panel's controls, which fill its top-left corner, and within the screen.
    const QRect panel = geometry();
    const QRect screen = this->screen()->availableGeometry();
    const int left = panel.left() + px(9500);
    mapEditor_->move(left, panel.top());
    mapEditor_->resize(std::clamp(screen.right() - left - 20, 320, 720),
                       std::clamp(screen.height() - 80, 360, 760));
  }
  editorModel_.syncFromGrid();
  mapEditor_->gridChanged();
  bringToFront(*mapEditor_);
}

void ControlPanel::openMathsReport() {
  if (!mathsReport_) {
    // A window of the panel's: it stays in front of the panel, which fills most of the screen,
    // so it is not lost behind it while the user types in the grid.
    mathsReport_ = std::make_unique<MathsReportWindow>(editorModel_, this);
    connect(mathsReport_.get(), &MathsReportWindow::gridEdited, this,
            &ControlPanel::gridEditedInReport);
    // Right of the panel's controls, or right of the map editor where the screen has room;
    // otherwise below the panel's controls, which leave the rest of its window empty.
    const QRect screen = this->screen()->availableGeometry();
    const QPoint below = client_->mapToGlobal(QPoint(0, px(6510)));
    QPoint place(geometry().left() + px(9500), geometry().top());
    int right = screen.right();
    if (mapEditor_ && mapEditor_->isVisible()) {
      const QRect editor = mapEditor_->frameGeometry();
      if (screen.right() - editor.right() >= 480) {
        place = QPoint(editor.right() + 10, editor.top());
      } else {
        place = QPoint(below.x(), below.y() + 8);
        right = editor.left();
      }
    }
    const int frame = frameGeometry().height() - geometry().height();  // the title bar
    mathsReport_->move(place);
    mathsReport_->resize(std::clamp(right - place.x() - 20, 320, 640),
                         std::clamp(screen.bottom() - place.y() - frame - 30, 240, 560));
  }
  editorModel_.syncFromGrid();
  bringToFront(*mathsReport_);
}

void ControlPanel::openPictureDialog() {
  if (!pictureDialog_) {
    // A window of the panel's, in front of it, beside the panel's controls.
    pictureDialog_ = std::make_unique<PictureDialog>(document_, this);
    pictureDialog_->move(geometry().left() + px(9500), geometry().top());
  }
  // Opened afresh, it starts from the document's colours; already open, it keeps the user's.
  if (!pictureDialog_->isVisible()) pictureDialog_->takeDocumentColours();
  bringToFront(*pictureDialog_);
}

void ControlPanel::openAnimationWindow() {
  if (!animationWindow_) {
    // A window of the panel's, below its controls, so that the grid and the Map Editor's preview
    // stay in sight while the playhead moves.
    animationWindow_ = std::make_unique<AnimationWindow>(document_, this);
    connect(animationWindow_.get(), &AnimationWindow::gridShown, this,
            &ControlPanel::gridShownByAnimation);
    // An export draws its frames as Render Picture would draw a picture now: as the user last
    // set it, and, when that window is not open, in the colours it would open with.
    animationWindow_->setPictureSettings([this] {
      if (!pictureDialog_) {
        openPictureDialog();
        pictureDialog_->hide();
      }
      if (!pictureDialog_->isVisible()) pictureDialog_->takeDocumentColours();
      return pictureDialog_->settings();
    });
    const QPoint below = client_->mapToGlobal(QPoint(0, px(6510)));
    animationWindow_->move(below.x(), below.y() + 8);
    animationWindow_->resize(px(9000), animationWindow_->sizeHint().height());
  }
  bringToFront(*animationWindow_);
}

void ControlPanel::gridShownByAnimation() {
  refreshFromState();
  editorModel_.syncFromGrid();
  gridChanged();
}

void ControlPanel::raiseToolWindows() {
  for (QWidget* window :
       {static_cast<QWidget*>(mapEditor_.get()), static_cast<QWidget*>(mathsReport_.get()),
        static_cast<QWidget*>(pictureDialog_.get()),
        static_cast<QWidget*>(animationWindow_.get())}) {
    if (window != nullptr && window->isVisible() && !window->isMinimized()) window->raise();
  }
}

}  // namespace quill
