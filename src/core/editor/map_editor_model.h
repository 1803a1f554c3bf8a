#pragma once

#include <QPointF>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

#include "core/editor/panel_step.h"
#include "core/editor/preview_renderer.h"
#include "core/maps/panel_state.h"

namespace quill {

// The handles of a map's image of the unit square: the whole parallelogram, or one of its
// corners P0 = f(0, 0), P1 = f(1, 0), P2 = f(0, 1).
enum class Handle { Body, P0, P1, P2 };
inline constexpr int kHandleCount = 4;

// Where a handle stands for `map`, in unit-square coordinates (the body: the image of the
// square's centre).
QPointF handlePoint(const PlaneMap& map, Handle handle);
// `map` with `handle` moved by (dx, dy): a corner moves alone (the other two stay), the body
// moves the map whole (e and f only).
PlaneMap movedHandle(const PlaneMap& map, Handle handle, double dx, double dy);

// The map editor's view of the grid. The grid's texts are the one table: the editor reads its
// maps from them and writes every change back as the program's number text, so the grid shows
// what the editor shows and the drawing commands use it as if typed. A row whose texts do not
// read keeps its last good shape here, with a quiet note in status(). Each change is an undo step
// on `steps`, the document's.
class MapEditorModel {
 public:
  MapEditorModel(PanelState& state, QUndoStack& steps);

  // Reads the maps again from the grid, after typing or a panel command.
  void syncFromGrid();

  // The maps in use (rows 1 to count, as reading the panel counts them); a row that never read
  // as numbers has no shape yet.
  int mapCount() const { return int(rows_.size()); }
  const std::optional<PlaneMap>& shape(int index) const { return rows_[std::size_t(index)]; }
  double probability(int index) const { return probabilities_[std::size_t(index)]; }
  // False for a row whose texts do not read as numbers: its shape is the last good one, if any.
  bool rowReads(int index) const { return reads_[std::size_t(index)]; }
  // The maps with a shape and their probabilities, for the preview.
  std::vector<WeightedMap> previewMaps() const;
  // Rows that do not read, and maps that do not contract; empty when all is well.
  QString status() const;

  // The selected map (0-based), or -1; selecting a map selects its body.
  int selected() const { return selected_; }
  Handle handle() const { return handle_; }
  void select(int index);
  // Tab and Shift+Tab: body, P0, P1, P2 and round again.
  void cycleHandle(bool backwards);

  // Moves the selected map's selected handle by (dx, dy) and writes the map's texts: one step.
  bool moveSelected(double dx, double dy);
  // A drag: each call sets map `index` to `start` with `handle` moved by (dx, dy), writing its
  // texts; the calls up to the next endStep() are one step.
  void dragTo(int index, const PlaneMap& start, Handle handle, double dx, double dy);
  // Adds a map after the last: the selected map (or the last) shrunk by half about its centre,
  // with its p; a half square when there is none. False at ten maps.
  bool insertMap();
  // Removes the selected map; the rows below move up.
  bool deleteSelected();
  // Writes the p column of the maps in use, one text each: one step named `text`. False when the
  // count does not match.
  bool setProbabilityTexts(const QStringList& texts, const QString& text);

  // Ends the drag under way: the next one is a step of its own.
  void endStep() { ++spell_; }
  // Undoes or redoes the last step on the document's stack, whoever made it, and reads the maps
  // again; false when there is none.
  bool undo();
  bool redo();
  QUndoStack& steps() { return steps_; }

 private:
  void writeRow(int index, const PlaneMap& map);
  // The change since `before` as one step named `text` (moves of one drag fold into one).
  void record(const PanelSnapshot& before, const QString& text, StepKind kind = StepKind::Command);

  PanelState& state_;
  QUndoStack& steps_;
  std::uint64_t spell_ = 0;  // numbers the drags
  std::vector<std::optional<PlaneMap>> rows_;
  std::vector<double> probabilities_;
  std::vector<bool> reads_;
  std::array<std::optional<PlaneMap>, kGridRows> lastGood_{};
  QStringList badRows_;
  int selected_ = -1;
  Handle handle_ = Handle::Body;
};

}  // namespace quill
