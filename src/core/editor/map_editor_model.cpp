#include "core/editor/map_editor_model.h"

#include <QCoreApplication>
#include <algorithm>

#include "core/base/message_text.h"
#include "core/editor/editor_framing.h"
#include "core/editor/view_rounding.h"
#include "core/maps/map_table.h"
#include "core/maps/number_text.h"
#include "core/maps/read_grid.h"
#include "core/maths/attractor_box.h"

namespace quill {

namespace {

const std::array<QString, kColumnCount> kColumnName = {"a", "b", "c", "d", "e", "f", "p"};

// The step a change of `handle` makes: "Move Map 2", "Move Corner of Map 2", "Rotate Map 2" …
QString moveText(int index, Handle handle) {
  QString text = QCoreApplication::translate("Messages", "Move Map %1");
  if (isCorner(handle)) text = QCoreApplication::translate("Messages", "Move Corner of Map %1");
  if (isEdge(handle)) text = QCoreApplication::translate("Messages", "Shear Map %1");
  if (handle == Handle::Rotate) text = QCoreApplication::translate("Messages", "Rotate Map %1");
  if (handle == Handle::Scale) text = QCoreApplication::translate("Messages", "Scale Map %1");
  return text.arg(index + 1);
}

}  // namespace

MapEditorModel::MapEditorModel(PanelState& state, QUndoStack& steps)
    : state_(state), steps_(steps) {
  syncFromGrid();
}

void MapEditorModel::record(const PanelSnapshot& before, const QString& text, StepKind kind) {
  recordStep(steps_, state_, before, text, kind, spell_);
}

void MapEditorModel::syncFromGrid() {
  rows_.clear();
  probabilities_.clear();
  reads_.clear();
  badRows_.clear();
  // The rows as the drawing commands read them, but each on its own: a row that does not read
  // keeps its last good shape and gets a note, and the rows below it still read.
  const int count = gridMapCount(state_);
  for (int row = 1; row <= count; ++row) {
    const Result<WeightedMap> read = readGridRow(state_, row);
    std::optional<PlaneMap>& good = lastGood_[std::size_t(row - 1)];
    if (read) {
      good = read->map;
      probabilities_.push_back(read->p);
    } else {
      badRows_ << QCoreApplication::translate("Messages", "Row %1: %2")
                      .arg(row)
                      .arg(messageText(read.message()));
      probabilities_.push_back(0);
    }
    reads_.push_back(read.ok());
    rows_.push_back(good);
  }
  std::vector<PlaneMap> maps;
  for (const auto& row : rows_) {
    if (row) maps.push_back(*row);
  }
  fitHint_ = parallelogramsFarSmallerThanAttractor(maps);
  if (selected_ >= mapCount()) select(-1);
}

std::vector<WeightedMap> MapEditorModel::previewMaps() const {
  std::vector<WeightedMap> maps;
  for (int i = 0; i < mapCount(); ++i) {
    if (rows_[std::size_t(i)]) maps.push_back({*rows_[std::size_t(i)], probability(i)});
  }
  return maps;
}

QString MapEditorModel::status() const {
  QStringList notes = badRows_;
  for (int i = 0; i < mapCount(); ++i) {
    if (!rows_[std::size_t(i)]) continue;
    const double stretch = largestStretch(*rows_[std::size_t(i)]);
    if (!(stretch < 1)) {
      // Thousandths where a double still has them: × 1000 overflows near the largest double.
      const double shown = stretch < 1e12 ? std::round(stretch * 1000) / 1000 : stretch;
      notes << QCoreApplication::translate("Messages", "Map %1 expands: it stretches by %2.")
                   .arg(i + 1)
                   .arg(numberToText(shown));
    }
  }
  if (fitHint_) {
    notes << QCoreApplication::translate(
        "Messages",
        "The parallelograms are far smaller than the attractor: \"Fit Maps to Square\" in the "
        "Tools menu brings the maps into the square, where they are easier to shape.");
  }
  return notes.join(QStringLiteral("  "));
}

QString MapEditorModel::selectionText() const {
  if (selected_ < 0) return {};
  const int row = selected_ + 1;
  QString text = QCoreApplication::translate("Messages", "Map %1").arg(row);
  if (handle_ != Handle::Body) text += QStringLiteral(", ") + handleName(handle_);
  QStringList values;
  for (int column = kColA; column <= kColP; ++column) {
    values << QStringLiteral("%1 %2").arg(kColumnName[std::size_t(column)],
                                          state_.cell(row, column));
  }
  return text + QStringLiteral(" — ") + values.join(QStringLiteral(", "));
}

void MapEditorModel::select(int index, Handle handle) {
  selected_ = index >= 0 && index < mapCount() ? index : -1;
  handle_ = selected_ >= 0 ? handle : Handle::Body;
}

Status MapEditorModel::selectNumber(int index) {
  if (index >= 0 && index < mapCount()) {
    select(index);
    return {};
  }
  select(-1);
  return Failure{QCoreApplication::translate("Messages", "There is no map %1: the grid holds %2.")
                     .arg(index + 1)
                     .arg(mapCount() == 1 ? QStringLiteral("1 map")
                                          : QStringLiteral("%1 maps").arg(mapCount()))};
}

void MapEditorModel::cycleHandle(bool backwards) {
  if (selected_ < 0) return;
  // Body, P0, P1, P2 in turn; from another handle the round starts at the body.
  constexpr std::array<Handle, 4> kRound = {Handle::Body, Handle::P0, Handle::P1, Handle::P2};
  const auto at = std::find(kRound.begin(), kRound.end(), handle_);
  if (at == kRound.end()) {
    handle_ = Handle::Body;
    return;
  }
  const std::size_t step = backwards ? kRound.size() - 1 : 1;
  handle_ = kRound[(std::size_t(at - kRound.begin()) + step) % kRound.size()];
}

void MapEditorModel::writeRow(int index, const PlaneMap& map) {
  const int row = index + 1;
  const double values[] = {map.a, map.b, map.c, map.d, map.e, map.f};
  for (int column = kColA; column <= kColF; ++column) {
    state_.cell(row, column) = numberToText(values[column]);
  }
  syncFromGrid();
}

bool MapEditorModel::moveSelected(double dx, double dy) {
  if (selected_ < 0 || !rows_[std::size_t(selected_)]) return false;
  aboutToEdit();
  const PanelSnapshot before = PanelSnapshot::of(state_);
  writeRow(selected_, movedHandle(*rows_[std::size_t(selected_)], handle_, dx, dy));
  record(before, moveText(selected_, handle_));
  return true;
}

void MapEditorModel::beginDrag() {
  aboutToEdit();
  endStep();  // a drag of its own, never folded into the last one
  dragBefore_ = PanelSnapshot::of(state_);
}

void MapEditorModel::writeDrag(int index, const PlaneMap& map, Handle handle) {
  if (index < 0 || index >= mapCount()) return;
  const PanelSnapshot before = PanelSnapshot::of(state_);
  writeRow(index, map);
  record(before, moveText(index, handle), StepKind::Drag);
}

DragResult MapEditorModel::drag(int index, const DragInput& input) {
  aboutToEdit();
  const std::vector<QPointF> targets = snapTargets(rows_, index);
  DragResult result = dragResult(input, targets);
  if (result.exact) {
    // On its target already: only the sums' last bits go ("-8.7E-18" reads as 0).
    result.map = roundedDrag(input.start, result.map, dragTolerance(0));
  } else {
    const double tolerance = dragTolerance(input.unitsPerPixel);
    if (result.exactLinearPart || result.fineLinearPart) {
      PlaneMap& m = result.map;
      m.e = shortestDecimalWithin(m.e, tolerance);
      m.f = shortestDecimalWithin(m.f, tolerance);
      if (result.fineLinearPart) {
        const double fine = dragTolerance(0);
        for (double* coefficient : {&m.a, &m.b, &m.c, &m.d}) {
          *coefficient = shortestDecimalWithin(*coefficient, fine);
        }
      }
    } else {
      result.map = roundedDrag(input.start, result.map, tolerance);
    }
  }
  writeDrag(index, result.map, input.handle);
  return result;
}

void MapEditorModel::dragTo(int index, const PlaneMap& start, Handle handle, double dx, double dy) {
  aboutToEdit();
  writeDrag(index, movedHandle(start, handle, dx, dy), handle);
}

void MapEditorModel::cancelDrag() {
  if (!dragBefore_) return;
  const PanelSnapshot before = PanelSnapshot::of(state_);
  dragBefore_->restore(state_);
  syncFromGrid();
  // Folded into the drag's step, which then ends where it began and goes.
  record(before, moveText(std::max(selected_, 0), handle_), StepKind::Drag);
  endStep();
}

bool MapEditorModel::undo() {
  aboutToEdit();
  if (!steps_.canUndo()) return false;
  steps_.undo();
  syncFromGrid();
  return true;
}

bool MapEditorModel::redo() {
  aboutToEdit();
  if (!steps_.canRedo()) return false;
  steps_.redo();
  syncFromGrid();
  return true;
}

}  // namespace quill
