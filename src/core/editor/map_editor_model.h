#pragma once

#include <QPointF>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "core/base/result.h"
#include "core/editor/map_gestures.h"
#include "core/editor/panel_step.h"
#include "core/maps/panel_state.h"
#include "core/maps/weighted_map.h"

namespace quill {

inline const QString kTooManyMapsMessage =
    QStringLiteral(QT_TRANSLATE_NOOP("Messages", "Quillmere draws at most 10 maps."));

// The numbers of the editor's panel for the selected map: the polar form of its linear part
// (r, s, θ, φ in degrees), its translation and its p.
enum class MapNumber { R, S, Theta, Phi, E, F, P };

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
  std::span<const std::optional<PlaneMap>> shapes() const { return rows_; }
  double probability(int index) const { return probabilities_[std::size_t(index)]; }
  // False for a row whose texts do not read as numbers: its shape is the last good one, if any.
  bool rowReads(int index) const { return reads_[std::size_t(index)]; }
  // The maps with a shape and their probabilities, for the preview.
  std::vector<WeightedMap> previewMaps() const;
  // Rows that do not read, maps that do not contract, and a hint to fit a system whose
  // parallelograms are far smaller than its attractor; empty when all is well.
  QString status() const;
  // "Map 3, corner P1 — a 0.85, b 0.04, …" with the grid's texts; empty without a selection.
  QString selectionText() const;

  // The selected map (0-based), or -1, and its handle.
  int selected() const { return selected_; }
  Handle handle() const { return handle_; }
  void select(int index, Handle handle = Handle::Body);
  // A number key: selects map `index`, or, when there is no such map, selects none and fails
  // with a message naming the map.
  Status selectNumber(int index);
  // Tab and Shift+Tab: body, P0, P1, P2 and round again.
  void cycleHandle(bool backwards);

  // Moves the selected map's selected handle by (dx, dy) exactly and writes the map's texts: one
  // step. Rotate and Scale move the body.
  bool moveSelected(double dx, double dy);

  // A drag: beginDrag() at the press, drag() at each move, endStep() at the release; the moves
  // are one step. drag() writes map `index` as the gesture gives it from `input.start`, rounded
  // to the view (see roundedDrag) unless it snapped, Ctrl snapping to the other maps' corners;
  // it returns the gesture's result, the snap target included.
  void beginDrag();
  DragResult drag(int index, const DragInput& input);
  // The same move exactly, as a corner or the body moved by (dx, dy).
  void dragTo(int index, const PlaneMap& start, Handle handle, double dx, double dy);
  // Escape: the grid goes back to what it held at beginDrag(), and the drag leaves no step.
  void cancelDrag();

  // Adds a copy of the selected map (or the last) after the last, beside the original: shifted by
  // half its size the first way that keeps it in the unit square, else clipped into the square;
  // a half square when there is none. The p column is shared out again so that it adds up to 1.
  // The new map is selected. Fails with kTooManyMapsMessage at ten maps.
  Status insertMap();
  // Removes the selected map; the rows below move up, and the map that takes its row (or else the
  // new last) is selected.
  bool deleteSelected();
  // Writes the p column of the maps in use, one text each: one step named `text`. False when the
  // count does not match.
  bool setProbabilityTexts(const QStringList& texts, const QString& text);

  // The selected map's `number` as the panel shows it.
  double number(MapNumber number) const;
  // Sets the selected map's `number`: r and θ rewrite only a and c (to ten decimals), s and φ
  // only b and d, e, f and p their own column. `angleIfFlat` gives the direction of a new r or s
  // where there is none yet (θ or φ as the panel shows it). The calls up to the next endStep() are
  // one step. False without a selected map or for a value that is not finite.
  bool setNumber(MapNumber number, double value, double angleIfFlat = 0);

  // Ends the drag or the spell of typing under way: the next change is a step of its own.
  void endStep() {
    ++spell_;
    dragBefore_.reset();
  }
  // Undoes or redoes the last step on the document's stack, whoever made it, and reads the maps
  // again; false when there is none.
  bool undo();
  bool redo();
  QUndoStack& steps() { return steps_; }

  // Called before every change the editor makes to the grid, undo and redo among them, so that
  // whatever else writes the grid (a fit under way) can finish first.
  void setBeforeEdit(std::function<void()> hook) { beforeEdit_ = std::move(hook); }

 private:
  void writeRow(int index, const PlaneMap& map);
  void writeDrag(int index, const PlaneMap& map, Handle handle);
  // The change since `before` as one step named `text` (moves of one drag fold into one).
  void record(const PanelSnapshot& before, const QString& text, StepKind kind = StepKind::Command);
  void aboutToEdit() {
    if (beforeEdit_) beforeEdit_();
  }

  PanelState& state_;
  QUndoStack& steps_;
  std::uint64_t spell_ = 0;  // numbers the drags and the spells of typing in the editor
  std::optional<PanelSnapshot> dragBefore_;
  std::vector<std::optional<PlaneMap>> rows_;
  std::vector<double> probabilities_;
  std::vector<bool> reads_;
  std::array<std::optional<PlaneMap>, kGridRows> lastGood_{};
  QStringList badRows_;
  bool fitHint_ = false;
  int selected_ = -1;
  Handle handle_ = Handle::Body;
  std::function<void()> beforeEdit_;
};

}  // namespace quill
