#include "core/editor/map_gestures.h"

#include <cmath>
#include <numbers>

#include "core/editor/polar_form.h"

namespace quill {

namespace {

QPointF nearestGridPoint(QPointF point) {
  // Whole steps over their count per unit: the double nearest each grid point, exactly.
  constexpr double kSteps = 1 / kSnapGrid;
  return {std::round(point.x() * kSteps) / kSteps, std::round(point.y() * kSteps) / kSteps};
}

// The target nearest `point` within `radius` units, if any.
std::optional<QPointF> nearestTarget(QPointF point, std::span<const QPointF> targets, double radius,
                                     double* distance = nullptr) {
  std::optional<QPointF> best;
  double bestDistance = radius;
  for (const QPointF& target : targets) {
    const double d = std::hypot(target.x() - point.x(), target.y() - point.y());
    if (d <= bestDistance) {
      best = target;
      bestDistance = d;
    }
  }
  if (distance != nullptr) *distance = bestDistance;
  return best;
}

DragResult snappedMove(const DragInput& drag, std::span<const QPointF> targets) {
  const QPointF way = drag.pointer - drag.press;
  const double radius = kSnapRadius * drag.unitsPerPixel;
  // The points that may snap: the corner held, or each corner of the body.
  std::vector<QPointF> movers;
  if (drag.handle == Handle::Body) {
    for (const QPointF& corner : parallelogram(drag.start)) movers.push_back(corner);
  } else {
    movers.push_back(handlePoint(drag.start, drag.handle));
  }
  std::optional<QPointF> target;
  QPointF mover = movers.front();
  double best = radius;
  for (const QPointF& each : movers) {
    double distance = 0;
    if (auto found = nearestTarget(each + way, targets, best, &distance); found) {
      target = found;
      mover = each;
      best = distance;
    }
  }
  if (!target) target = nearestGridPoint(mover + way);
  const QPointF moved = *target - mover;
  DragResult result{movedHandle(drag.start, drag.handle, moved.x(), moved.y()), target, true};
  // P0 landing on the target lands on it itself, not a rounding beside it.
  if ((drag.handle == Handle::Body || drag.handle == Handle::P0) && mover == movers.front()) {
    result.map.e = target->x();
    result.map.f = target->y();
  }
  return result;
}

}  // namespace

PlaneMap rotatedAbout(const PlaneMap& map, QPointF centre, double degrees) {
  const auto [cos, sin] = cosSinDegrees(degrees);
  const QPointF p0 = QPointF(map.e, map.f) - centre;
  return {cos * map.a - sin * map.c,
          cos * map.b - sin * map.d,
          sin * map.a + cos * map.c,
          sin * map.b + cos * map.d,
          centre.x() + cos * p0.x() - sin * p0.y(),
          centre.y() + sin * p0.x() + cos * p0.y()};
}

PlaneMap scaledAbout(const PlaneMap& map, QPointF pivot, double factor) {
  return {map.a * factor,
          map.b * factor,
          map.c * factor,
          map.d * factor,
          pivot.x() + (map.e - pivot.x()) * factor,
          pivot.y() + (map.f - pivot.y()) * factor};
}

DragResult dragResult(const DragInput& drag, std::span<const QPointF> targets) {
  const QPointF way = drag.pointer - drag.press;
  switch (drag.handle) {
    case Handle::Rotate: {
      const QPointF centre = handlePoint(drag.start, Handle::Body);
      const QPointF from = drag.press - centre;
      const QPointF to = drag.pointer - centre;
      double degrees =
          (std::atan2(to.y(), to.x()) - std::atan2(from.y(), from.x())) * 180 / std::numbers::pi;
      if (!std::isfinite(degrees)) degrees = 0;
      if (drag.shift) degrees = std::round(degrees / kRotationStep) * kRotationStep;
      DragResult result{rotatedAbout(drag.start, centre, degrees), std::nullopt, false};
      // A quarter turn's linear part is exact already; only the corner P0 reads as the view does.
      result.exactLinearPart = std::fmod(degrees, 90.0) == 0;
      // Another step of 15° keeps its angle and scale to ten decimals, not the view's four.
      result.fineLinearPart = drag.shift && !result.exactLinearPart;
      return result;
    }
    case Handle::Scale: {
      const QPointF pivot =
          drag.ctrl ? QPointF(drag.start.e, drag.start.f) : handlePoint(drag.start, Handle::Body);
      const double from = std::hypot(drag.press.x() - pivot.x(), drag.press.y() - pivot.y());
      const double to = std::hypot(drag.pointer.x() - pivot.x(), drag.pointer.y() - pivot.y());
      const double factor = from > 0 && std::isfinite(to / from) ? to / from : 1;
      return {scaledAbout(drag.start, pivot, factor), std::nullopt};
    }
    default:
      break;
  }
  if (drag.ctrl && (drag.handle == Handle::Body || isCorner(drag.handle))) {
    return snappedMove(drag, targets);
  }
  return {movedHandle(drag.start, drag.handle, way.x(), way.y()), std::nullopt};
}

std::vector<QPointF> snapTargets(std::span<const std::optional<PlaneMap>> maps, int dragged) {
  std::vector<QPointF> targets = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
  for (int index = 0; index < int(maps.size()); ++index) {
    if (index == dragged || !maps[std::size_t(index)]) continue;
    for (const QPointF& corner : parallelogram(*maps[std::size_t(index)])) {
      if (std::isfinite(corner.x()) && std::isfinite(corner.y())) targets.push_back(corner);
    }
  }
  return targets;
}

}  // namespace quill
