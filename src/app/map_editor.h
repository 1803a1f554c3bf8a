#pragma once

#include <QWidget>

#include "core/editor/map_editor_model.h"

class QDialog;
class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;

namespace quill {

class CollageOverlay;
class MapCanvas;
class MapNumbersPanel;

// "Map Editor...": a window of its own beside the panel, in which the maps are shaped by hand
// over a live preview of their attractor, with the selected map's numbers below. It edits the
// grid's texts through the model; the panel stays usable meanwhile. Ctrl+Z undoes a step,
// Ctrl+Shift+Z and Ctrl+Y redo one: the document's steps, the panel's commands and typing among
// them. F1 lists the keys and mouse actions in a small window.
class MapEditor : public QWidget {
  Q_OBJECT

 public:
  explicit MapEditor(MapEditorModel& model, QWidget* parent = nullptr);
  ~MapEditor() override;

  // The grid changed from outside the editor (typing, a panel command).
  void gridChanged();
  // The maps were replaced (a pattern, Load, Import, Fit): the view frames them all.
  void mapsReplaced();
  // F1: the keys and mouse actions, in a window of their own.
  void showKeys();

  MapCanvas* canvas() const { return canvas_; }
  MapNumbersPanel* numbers() const { return numbers_; }
  QWidget* keysWindow() const;

  // The target shape and the collage of the maps over it, with the strip of its measures, the
  // backdrop's opacity and Fit to Target.
  void setCollage(CollageOverlay* collage);
  // While a fit runs, Fit to Target gives way to Stop.
  void setFitting(bool fitting);
  // "Time limit": the seconds a fit may search, 1 to kMostFitSeconds (out of range: clamped).
  int fitSeconds() const;
  void setFitSeconds(int seconds);
  static constexpr int kDefaultFitSeconds = 30;
  static constexpr int kMostFitSeconds = 3600;

  // What the status line says when nothing is selected and all is well.
  static QString hint(int mapCount);

 signals:
  // The editor changed the grid's texts.
  void gridEdited();
  // Fit to Target or Stop was pressed.
  void fitAsked();
  void stopAsked();

 private:
  void showStatus();
  // The strip and the collage follow the target and the maps.
  void showCollage();
  void measureCollage();
  // The undo or redo button enabled only when there is such a step.
  void followSteps(QPushButton* button, bool redo, const QString& key);

  MapEditorModel& model_;
  MapCanvas* canvas_ = nullptr;
  MapNumbersPanel* numbers_ = nullptr;
  QLabel* status_ = nullptr;
  QString said_;  // the last message of a key or a press, until the next
  QDialog* keys_ = nullptr;
  CollageOverlay* collage_ = nullptr;  // the panel's
  QWidget* collageRow_ = nullptr;      // the strip, the opacity and Fit to Target
  QLabel* strip_ = nullptr;
  QSlider* opacity_ = nullptr;
  QSpinBox* fitSeconds_ = nullptr;
  QPushButton* fit_ = nullptr;
  QPushButton* stop_ = nullptr;
};

}  // namespace quill
