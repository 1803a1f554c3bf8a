#include "core/editor/map_handles.h"

#include <QCoreApplication>
#include <cmath>

namespace quill {

namespace {

// The edge's two ends, as (x, y) of the unit square.
struct EdgeEnds {
  QPointF from, to;
};
EdgeEnds edgeEnds(Handle edge) {
  switch (edge) {
    case Handle::EdgeP0P1:
      return {{0, 0}, {1, 0}};
    case Handle::EdgeP0P2:
      return {{0, 0}, {0, 1}};
    case Handle::EdgeP1P3:
      return {{1, 0}, {1, 1}};
    default:
      return {{0, 1}, {1, 1}};
  }
}

}  // namespace

std::array<QPointF, 4> parallelogram(const PlaneMap& map) {
  return {applyMap(map, 0, 0), applyMap(map, 1, 0), applyMap(map, 1, 1), applyMap(map, 0, 1)};
}

QPointF handlePoint(const PlaneMap& map, Handle handle, double unitsPerPixel) {
  switch (handle) {
    case Handle::P0:
      return {map.e, map.f};
    case Handle::P1:
      return {map.a + map.e, map.c + map.f};
    case Handle::P2:
      return {map.b + map.e, map.d + map.f};
    case Handle::Scale:
      return applyMap(map, 1, 1);
    case Handle::Rotate: {
      const QPointF centre = applyMap(map, 0.5, 0.5);
      const QPointF top = applyMap(map, 0.5, 1);
      QPointF out = top - centre;
      const double length = std::hypot(out.x(), out.y());
      out = length > 0 && std::isfinite(length) ? out / length : QPointF(0, 1);
      return top + out * (kRotateReach * unitsPerPixel);
    }
    case Handle::Body:
      return applyMap(map, 0.5, 0.5);
    default: {
      const EdgeEnds ends = edgeEnds(handle);
      const QPointF mid = (ends.from + ends.to) / 2;
      return applyMap(map, mid.x(), mid.y());
    }
  }
}

PlaneMap movedHandle(const PlaneMap& map, Handle handle, double dx, double dy) {
  PlaneMap moved = map;
  if (isEdge(handle)) {
    // The part of (dx, dy) along the edge; the edge's two corners move by it.
    const EdgeEnds ends = edgeEnds(handle);
    const QPointF along =
        applyMap(map, ends.to.x(), ends.to.y()) - applyMap(map, ends.from.x(), ends.from.y());
    const double length2 = along.x() * along.x() + along.y() * along.y();
    if (!(length2 > 0) || !std::isfinite(length2)) return map;
    const double t = (dx * along.x() + dy * along.y()) / length2;
    dx = t * along.x();
    dy = t * along.y();
  }
  switch (handle) {
    case Handle::P0:  // P1 and P2 stay where they are
    case Handle::EdgeP0P2:
      moved.e += dx;
      moved.f += dy;
      moved.a -= dx;
      moved.c -= dy;
      if (handle == Handle::P0) {
        moved.b -= dx;
        moved.d -= dy;
      }
      break;
    case Handle::P1:
    case Handle::EdgeP1P3:
      moved.a += dx;
      moved.c += dy;
      break;
    case Handle::P2:
    case Handle::EdgeP2P3:
      moved.b += dx;
      moved.d += dy;
      break;
    case Handle::EdgeP0P1:  // P0 and P1 along the bottom edge; P2 and P3 stay
      moved.e += dx;
      moved.f += dy;
      moved.b -= dx;
      moved.d -= dy;
      break;
    default:
      moved.e += dx;
      moved.f += dy;
      break;
  }
  return moved;
}

double parallelogramArea(const PlaneMap& map) { return std::fabs(map.a * map.d - map.b * map.c); }

bool parallelogramContains(const PlaneMap& map, QPointF point) {
  // point = P0 + s·(P1 − P0) + t·(P2 − P0), inside for s and t in [0, 1].
  const double det = map.a * map.d - map.b * map.c;
  if (det == 0 || !std::isfinite(det)) return false;
  const double x = point.x() - map.e;
  const double y = point.y() - map.f;
  const double s = (map.d * x - map.b * y) / det;
  const double t = (map.a * y - map.c * x) / det;
  return s >= 0 && s <= 1 && t >= 0 && t <= 1;
}

QString handleName(Handle handle) {
  switch (handle) {
    case Handle::Body:
      return {};
    case Handle::P0:
      return QCoreApplication::translate("Messages", "corner P0");
    case Handle::P1:
      return QCoreApplication::translate("Messages", "corner P1");
    case Handle::P2:
      return QCoreApplication::translate("Messages", "corner P2");
    case Handle::EdgeP0P1:
      return QCoreApplication::translate("Messages", "edge P0–P1");
    case Handle::EdgeP0P2:
      return QCoreApplication::translate("Messages", "edge P0–P2");
    case Handle::EdgeP1P3:
      return QCoreApplication::translate("Messages", "edge P1–P3");
    case Handle::EdgeP2P3:
      return QCoreApplication::translate("Messages", "edge P2–P3");
    case Handle::Rotate:
      return QCoreApplication::translate("Messages", "rotation handle");
    case Handle::Scale:
      return QCoreApplication::translate("Messages", "scale handle");
  }
  return {};
}

}  // namespace quill
