#pragma once

#include <QWidget>
#include <array>

#include "core/editor/map_editor_model.h"

class QLineEdit;

namespace quill {

// The selected map's numbers under the map editor's drawing, in the form Compute Parameters
// speaks: r, s, θ and φ (a = r·cos θ, b = −s·sin φ, c = r·sin θ, d = s·cos φ), then e, f and p.
// Each is editable; the map follows as the user types, and a spell of typing in one field is one
// undo step. Without a selected map the fields are empty and disabled.
class MapNumbersPanel : public QWidget {
  Q_OBJECT

 public:
  explicit MapNumbersPanel(MapEditorModel& model, QWidget* parent = nullptr);

  // Shows the selected map's numbers; the field being typed in keeps its text.
  void showSelection();

  // The field of `number`, for tests.
  QLineEdit* field(MapNumber number) const { return fields_[std::size_t(number)]; }

  static constexpr int kNumberCount = 7;

 signals:
  // A typed number changed the grid's texts.
  void gridEdited();

 private:
  void typed(MapNumber number, const QString& text);
  void finished();

  MapEditorModel& model_;
  std::array<QLineEdit*, kNumberCount> fields_{};
};

}  // namespace quill
