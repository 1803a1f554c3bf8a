#pragma once

#include <QWidget>

#include "core/editor/map_editor_model.h"

class QLabel;
class QPushButton;

namespace quill {

class MapCanvas;

// "Map Editor...": a window of its own beside the panel, in which the maps are shaped by hand
// over a live preview of their attractor. It edits the grid's texts through the model; the panel
// stays usable meanwhile. Ctrl+Z undoes a step, Ctrl+Shift+Z and Ctrl+Y redo one: the document's
// steps, the panel's commands and typing among them.
class MapEditor : public QWidget {
  Q_OBJECT

 public:
  explicit MapEditor(MapEditorModel& model, QWidget* parent = nullptr);

  // The grid changed from outside the editor (typing, a panel command).
  void gridChanged();

  MapCanvas* canvas() const { return canvas_; }

 signals:
  // The editor changed the grid's texts.
  void gridEdited();

 private:
  void showStatus();
  // The undo or redo button enabled only when there is such a step.
  void followSteps(QPushButton* button, bool redo);

  MapEditorModel& model_;
  MapCanvas* canvas_ = nullptr;
  QLabel* status_ = nullptr;
};

}  // namespace quill
