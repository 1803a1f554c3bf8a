#pragma once

#include <QPointF>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

#include "core/editor/grid_history.h"
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
// read keeps its last good shape here, with a quiet note in status().
class MapEditorModel {
 public:
  explicit MapEditorModel(PanelState& state);

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
  // texts; the step ends when endStep() is called on release.
  void dragTo(int index, const PlaneMap& start, Handle handle, double dx, double dy);
  // Adds a map after the last: the selected map (or the last) shrunk by half about its centre,
  // with its p; a half square when there is none. False at ten maps.
  bool insertMap();
  // Removes the selected map; the rows below move up.
  bool deleteSelected();
  // Writes the p column of the maps in use, one text each: one step. False when the count does
  // not match.
  bool setProbabilityTexts(const QStringList& texts);

  // Ends the current step of the undo history (a drag, a panel command, typing).
  void endStep() { history_.commit(); }
  bool undo();
  bool redo();
  GridHistory& history() { return history_; }

 private:
  void writeRow(int index, const PlaneMap& map);

  PanelState& state_;
  GridHistory history_;
  std::vector<std::optional<PlaneMap>> rows_;
  std::vector<double> probabilities_;
  std::vector<bool> reads_;
  std::array<std::optional<PlaneMap>, kGridRows> lastGood_{};
  QStringList badRows_;
  int selected_ = -1;
  Handle handle_ = Handle::Body;
};

}  // namespace quill
