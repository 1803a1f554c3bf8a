#include "app/map_editor.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/map_canvas.h"

namespace quill {

MapEditor::MapEditor(MapEditorModel& model, QWidget* parent)
    : QWidget(parent, Qt::Dialog), model_(model) {
  setObjectName(QStringLiteral("mapEditor"));
  setWindowTitle(QStringLiteral("Map Editor"));
  canvas_ = new MapCanvas(model_, this);
  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("mapEditorStatus"));
  status_->setWordWrap(true);

  auto* buttons = new QHBoxLayout;
  auto addButton = [this, buttons](const QString& caption, const char* name, auto action) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    button->setFocusPolicy(Qt::NoFocus);  // the keys stay with the drawing
    connect(button, &QPushButton::clicked, this, action);
    buttons->addWidget(button);
    return button;
  };
  auto step = [this](bool (MapEditorModel::*change)()) {
    return [this, change] {
      if ((model_.*change)()) {
        canvas_->modelChanged();
        emit gridEdited();
        showStatus();
      }
    };
  };
  addButton(QStringLiteral("Insert Map"), "insertMap", step(&MapEditorModel::insertMap));
  addButton(QStringLiteral("Delete Map"), "deleteMap", step(&MapEditorModel::deleteSelected));
  QPushButton* undo = addButton(QStringLiteral("Undo"), "undo", step(&MapEditorModel::undo));
  QPushButton* redo = addButton(QStringLiteral("Redo"), "redo", step(&MapEditorModel::redo));
  followSteps(undo, false);
  followSteps(redo, true);
  buttons->addStretch();
  addButton(QStringLiteral("Fit"), "fit", [this] { canvas_->fitAttractor(); });
  addButton(QStringLiteral("Unit Square"), "unitSquare", [this] { canvas_->showUnitSquare(); });

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(canvas_, 1);
  layout->addWidget(status_);
  connect(canvas_, &MapCanvas::gridEdited, this, [this] {
    showStatus();
    emit gridEdited();
  });
  resize(720, 760);
  showStatus();
}

void MapEditor::followSteps(QPushButton* button, bool redo) {
  // As the panel's "Tools" items: enabled only when there is a step, which the tip names.
  QUndoStack& steps = model_.steps();
  auto name = [button, verb = button->text()](const QString& step) {
    button->setToolTip(step.isEmpty() ? QString() : verb + u' ' + step);
  };
  name(redo ? steps.redoText() : steps.undoText());
  button->setEnabled(redo ? steps.canRedo() : steps.canUndo());
  connect(&steps, redo ? &QUndoStack::redoTextChanged : &QUndoStack::undoTextChanged, button, name);
  connect(&steps, redo ? &QUndoStack::canRedoChanged : &QUndoStack::canUndoChanged, button,
          &QPushButton::setEnabled);
}

void MapEditor::gridChanged() {
  canvas_->modelChanged();
  showStatus();
}

void MapEditor::showStatus() {
  const QString notes = model_.status();
  status_->setText(notes.isEmpty() ? QStringLiteral("%1 maps. Drag a corner or the inside of a "
                                                    "map; 1 to 0 select, Tab picks a corner, the "
                                                    "arrows move it.")
                                         .arg(model_.mapCount())
                                   : notes);
}

}  // namespace quill
