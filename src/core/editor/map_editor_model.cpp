#include "core/editor/map_editor_model.h"

#include <algorithm>

#include "core/maps/map_table.h"
#include "core/maps/number_text.h"
#include "core/maps/read_grid.h"
#include "core/maths/attractor_box.h"

namespace quill {

namespace {

// Half the unit square in its lower-left quarter: what a new map starts as when there is none.
constexpr PlaneMap kHalfSquare{0.5, 0, 0, 0.5, 0.25, 0.25};

// "Move Map 2" for the whole map, "Move Corner of Map 2" for one corner.
QString moveText(int index, Handle handle) {
  return (handle == Handle::Body ? QStringLiteral("Move Map %1")
                                 : QStringLiteral("Move Corner of Map %1"))
      .arg(index + 1);
}

}  // namespace

QPointF handlePoint(const PlaneMap& map, Handle handle) {
  switch (handle) {
    case Handle::P0:
      return {map.e, map.f};
    case Handle::P1:
      return {map.a + map.e, map.c + map.f};
    case Handle::P2:
      return {map.b + map.e, map.d + map.f};
    case Handle::Body:
      break;
  }
  return {0.5 * (map.a + map.b) + map.e, 0.5 * (map.c + map.d) + map.f};
}

PlaneMap movedHandle(const PlaneMap& map, Handle handle, double dx, double dy) {
  PlaneMap moved = map;
  switch (handle) {
    case Handle::Body:
      moved.e += dx;
      moved.f += dy;
      break;
    case Handle::P0:  // P1 and P2 stay where they are
      moved.e += dx;
      moved.f += dy;
      moved.a -= dx;
      moved.c -= dy;
      moved.b -= dx;
      moved.d -= dy;
      break;
    case Handle::P1:
      moved.a += dx;
      moved.c += dy;
      break;
    case Handle::P2:
      moved.b += dx;
      moved.d += dy;
      break;
  }
  return moved;
}

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
      badRows_ << QStringLiteral("Row %1: %2").arg(row).arg(read.message());
      probabilities_.push_back(0);
    }
    reads_.push_back(read.ok());
    rows_.push_back(good);
  }
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
      notes << QStringLiteral("Map %1 expands: it stretches by %2.")
                   .arg(i + 1)
                   .arg(numberToText(shown));
    }
  }
  return notes.join(QStringLiteral("  "));
}

void MapEditorModel::select(int index) {
  selected_ = index >= 0 && index < mapCount() ? index : -1;
  handle_ = Handle::Body;
}

void MapEditorModel::cycleHandle(bool backwards) {
  if (selected_ < 0) return;
  const int step = backwards ? kHandleCount - 1 : 1;
  handle_ = Handle((int(handle_) + step) % kHandleCount);
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
  const PanelSnapshot before = PanelSnapshot::of(state_);
  writeRow(selected_, movedHandle(*rows_[std::size_t(selected_)], handle_, dx, dy));
  record(before, moveText(selected_, handle_));
  return true;
}

void MapEditorModel::dragTo(int index, const PlaneMap& start, Handle handle, double dx, double dy) {
  if (index < 0 || index >= mapCount()) return;
  const PanelSnapshot before = PanelSnapshot::of(state_);
  writeRow(index, movedHandle(start, handle, dx, dy));
  record(before, moveText(index, handle), StepKind::Drag);
}

bool MapEditorModel::insertMap() {
  if (mapCount() >= kMaxMaps) return false;
  const PanelSnapshot before = PanelSnapshot::of(state_);
  const int source = selected_ >= 0 ? selected_ : mapCount() - 1;
  PlaneMap map = kHalfSquare;
  QString p = QStringLiteral("1");
  if (source >= 0 && rows_[std::size_t(source)]) {
    // Shrunk by half about the centre C of its image: x -> C + (f(x) - C) / 2.
    const PlaneMap& f = *rows_[std::size_t(source)];
    const QPointF centre = handlePoint(f, Handle::Body);
    map = {f.a / 2, f.b / 2, f.c / 2, f.d / 2, f.e / 2 + centre.x() / 2, f.f / 2 + centre.y() / 2};
    p = state_.cell(source + 1, kColP);
  }
  const int index = mapCount();
  state_.cell(index + 1, kColP) = p;
  writeRow(index, map);
  select(index);
  record(before, QStringLiteral("Insert Map %1").arg(index + 1));
  return true;
}

bool MapEditorModel::deleteSelected() {
  if (selected_ < 0) return false;
  const PanelSnapshot before = PanelSnapshot::of(state_);
  const int deleted = selected_;
  for (int row = selected_ + 1; row < kGridRows; ++row) {
    for (int column = 0; column < kColumnCount; ++column) {
      state_.cell(row, column) = state_.cell(row + 1, column);
    }
    lastGood_[std::size_t(row - 1)] = lastGood_[std::size_t(row)];
  }
  for (int column = 0; column < kColumnCount; ++column) state_.cell(kGridRows, column).clear();
  lastGood_.back().reset();
  select(-1);
  syncFromGrid();
  record(before, QStringLiteral("Delete Map %1").arg(deleted + 1));
  return true;
}

bool MapEditorModel::setProbabilityTexts(const QStringList& texts, const QString& text) {
  if (texts.size() != mapCount()) return false;
  const PanelSnapshot before = PanelSnapshot::of(state_);
  for (int index = 0; index < mapCount(); ++index) state_.cell(index + 1, kColP) = texts[index];
  syncFromGrid();
  record(before, text);
  return true;
}

bool MapEditorModel::undo() {
  if (!steps_.canUndo()) return false;
  steps_.undo();
  syncFromGrid();
  return true;
}

bool MapEditorModel::redo() {
  if (!steps_.canRedo()) return false;
  steps_.redo();
  syncFromGrid();
  return true;
}

}  // namespace quill
