// The map editor's edits beyond a move: inserting and deleting maps, the p column, and the
// numbers of the selected map typed into the editor's panel.

#include <QCoreApplication>
#include <cmath>

#include "core/editor/det_weights.h"
#include "core/editor/map_editor_model.h"
#include "core/editor/polar_form.h"
#include "core/editor/view_rounding.h"
#include "core/maps/number_text.h"

namespace quill {

namespace {

// Half the unit square in its lower-left quarter: what a new map starts as when there is none.
constexpr PlaneMap kHalfSquare{0.5, 0, 0, 0.5, 0.25, 0.25};
constexpr double kInside = 1e-9;  // how far past the square's edge still counts as inside

bool insideSquare(const PlaneMap& map) {
  for (const QPointF& corner : parallelogram(map)) {
    if (!(corner.x() >= -kInside && corner.x() <= 1 + kInside && corner.y() >= -kInside &&
          corner.y() <= 1 + kInside)) {
      return false;
    }
  }
  return true;
}

// The way that brings [low, high] into [0, 1], or centres it there when it is wider.
double intoUnit(double low, double high) {
  if (high - low > 1) return 0.5 - (low + high) / 2;
  if (low < 0) return -low;
  if (high > 1) return 1 - high;
  return 0;
}

// A copy of `map` beside it: shifted by half its size right, up, left or down (the first that
// stays in the square), else right and then moved into the square.
PlaneMap besideCopy(const PlaneMap& map) {
  const QPointF across(map.a / 2, map.c / 2);  // half of P0 → P1
  const QPointF up(map.b / 2, map.d / 2);      // half of P0 → P2
  for (const QPointF& way : {across, up, -across, -up, across + up, across - up, up - across}) {
    const PlaneMap copy = movedHandle(map, Handle::Body, way.x(), way.y());
    if (insideSquare(copy)) return copy;
  }
  PlaneMap copy = movedHandle(map, Handle::Body, across.x(), across.y());
  const auto corners = parallelogram(copy);
  double xmin = corners[0].x(), xmax = xmin, ymin = corners[0].y(), ymax = ymin;
  for (const QPointF& corner : corners) {
    xmin = std::min(xmin, corner.x());
    xmax = std::max(xmax, corner.x());
    ymin = std::min(ymin, corner.y());
    ymax = std::max(ymax, corner.y());
  }
  const double dx = intoUnit(xmin, xmax);
  const double dy = intoUnit(ymin, ymax);
  if (std::isfinite(dx) && std::isfinite(dy)) copy = movedHandle(copy, Handle::Body, dx, dy);
  return copy;
}

QString numberName(MapNumber number) {
  constexpr std::array<const char*, 7> kNames = {"r", "s", "θ", "φ", "e", "f", "p"};
  return QString::fromUtf8(kNames[std::size_t(number)]);
}

}  // namespace

Status MapEditorModel::insertMap() {
  aboutToEdit();
  if (mapCount() >= kGridRows) return Failure{kTooManyMapsMessage};
  const PanelSnapshot before = PanelSnapshot::of(state_);
  const int source = selected_ >= 0 ? selected_ : mapCount() - 1;
  PlaneMap map = kHalfSquare;
  QString p = QStringLiteral("1");
  if (source >= 0 && rows_[std::size_t(source)]) {
    map = besideCopy(*rows_[std::size_t(source)]);
    p = state_.cell(source + 1, kColP);
  }
  const int index = mapCount();
  state_.cell(index + 1, kColP) = p;
  writeRow(index, map);
  // The p column shared out again in proportion, so that it still adds up to 1; left as it is
  // when a row does not read or a p is below zero.
  std::vector<double> weights;
  bool shareable = true;
  for (int i = 0; i < mapCount(); ++i) {
    shareable = shareable && rowReads(i) && probability(i) >= 0;
    weights.push_back(probability(i));
  }
  const QStringList texts = shareable ? proportionalTexts(weights) : QStringList();
  for (int i = 0; i < int(texts.size()); ++i) state_.cell(i + 1, kColP) = texts[i];
  syncFromGrid();
  select(index);
  record(before, QCoreApplication::translate("Messages", "Insert Map %1").arg(index + 1));
  return {};
}

bool MapEditorModel::deleteSelected() {
  aboutToEdit();
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
  syncFromGrid();
  select(std::min(deleted, mapCount() - 1));
  record(before, QCoreApplication::translate("Messages", "Delete Map %1").arg(deleted + 1));
  return true;
}

bool MapEditorModel::setProbabilityTexts(const QStringList& texts, const QString& text) {
  aboutToEdit();
  if (texts.size() != mapCount()) return false;
  const PanelSnapshot before = PanelSnapshot::of(state_);
  for (int index = 0; index < mapCount(); ++index) state_.cell(index + 1, kColP) = texts[index];
  syncFromGrid();
  record(before, text);
  return true;
}

double MapEditorModel::number(MapNumber number) const {
  if (selected_ < 0 || !rows_[std::size_t(selected_)]) return 0;
  const PlaneMap& map = *rows_[std::size_t(selected_)];
  const PolarForm polar = polarForm(map);
  switch (number) {
    case MapNumber::R:
      return polar.r;
    case MapNumber::S:
      return polar.s;
    case MapNumber::Theta:
      return polar.theta;
    case MapNumber::Phi:
      return polar.phi;
    case MapNumber::E:
      return map.e;
    case MapNumber::F:
      return map.f;
    case MapNumber::P:
      return probability(selected_);
  }
  return 0;
}

bool MapEditorModel::setNumber(MapNumber number, double value, double angleIfFlat) {
  aboutToEdit();
  if (selected_ < 0 || !rows_[std::size_t(selected_)] || !std::isfinite(value)) return false;
  const PanelSnapshot before = PanelSnapshot::of(state_);
  const int row = selected_ + 1;
  const PlaneMap& map = *rows_[std::size_t(selected_)];
  // Only the columns the number stands for are written; the others keep their very texts.
  auto write = [this, row](int column, double coefficient) {
    state_.cell(row, column) = numberToText(coefficient);
  };
  // a to d from r, s and the angles to ten decimals, as a drag writes them at most: the cosines
  // would give fifteen digits that no field shows whole.
  auto writeLinear = [&write](int column, double coefficient) {
    write(column, shortestDecimalWithin(coefficient, dragTolerance(0)));
  };
  switch (number) {
    case MapNumber::R:
    case MapNumber::Theta: {
      const PlaneMap out =
          number == MapNumber::R ? withR(map, value, angleIfFlat) : withTheta(map, value);
      writeLinear(kColA, out.a);
      writeLinear(kColC, out.c);
      break;
    }
    case MapNumber::S:
    case MapNumber::Phi: {
      const PlaneMap out =
          number == MapNumber::S ? withS(map, value, angleIfFlat) : withPhi(map, value);
      writeLinear(kColB, out.b);
      writeLinear(kColD, out.d);
      break;
    }
    case MapNumber::E:
      write(kColE, value);
      break;
    case MapNumber::F:
      write(kColF, value);
      break;
    case MapNumber::P:
      write(kColP, value);
      break;
  }
  const int index = selected_;
  const Handle handle = handle_;
  syncFromGrid();
  select(index, handle);
  record(
      before,
      QCoreApplication::translate("Messages", "Set %1 of Map %2").arg(numberName(number)).arg(row),
      StepKind::Drag);
  return true;
}

}  // namespace quill
