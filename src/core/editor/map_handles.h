#pragma once

#include <QPointF>
#include <QString>
#include <array>

#include "core/maps/weighted_map.h"

namespace quill {

// The handles of a map's image of the unit square. Body is the whole parallelogram; P0 = f(0, 0),
// P1 = f(1, 0) and P2 = f(0, 1) its corners; the four edges' midpoints shear along their edge;
// Rotate turns the map about its centre and Scale, at the fourth corner P3 = f(1, 1), scales it.
// Every map shows its corners; the edges, Rotate and Scale are shown on the selected map only.
enum class Handle { Body, P0, P1, P2, EdgeP0P1, EdgeP0P2, EdgeP1P3, EdgeP2P3, Rotate, Scale };

inline constexpr std::array<Handle, 3> kCornerHandles = {Handle::P0, Handle::P1, Handle::P2};
inline constexpr std::array<Handle, 6> kSelectedMapHandles = {Handle::EdgeP0P1, Handle::EdgeP0P2,
                                                              Handle::EdgeP1P3, Handle::EdgeP2P3,
                                                              Handle::Rotate,   Handle::Scale};

// Logical pixels from the top edge's midpoint out to the rotation handle.
inline constexpr double kRotateReach = 24;

inline bool isCorner(Handle handle) {
  return handle == Handle::P0 || handle == Handle::P1 || handle == Handle::P2;
}
inline bool isEdge(Handle handle) {
  return handle >= Handle::EdgeP0P1 && handle <= Handle::EdgeP2P3;
}

// `map` applied to (x, y).
inline QPointF applyMap(const PlaneMap& map, double x, double y) {
  return {map.a * x + map.b * y + map.e, map.c * x + map.d * y + map.f};
}

// The parallelogram's corners P0, P1, P3, P2 in order around it.
std::array<QPointF, 4> parallelogram(const PlaneMap& map);

// Where a handle stands for `map`, in unit-square coordinates: the body at the image of the
// square's centre. The rotation handle lies kRotateReach pixels beyond the top edge's midpoint,
// away from the centre, so `unitsPerPixel` places it; the other handles do not need it.
QPointF handlePoint(const PlaneMap& map, Handle handle, double unitsPerPixel = 0);

// `map` with `handle` moved by (dx, dy): a corner moves alone (the other two stay), the body moves
// the map whole (e and f only), an edge moves along itself by the part of (dx, dy) along it while
// the opposite edge stays (a shear; an edge of no length stays). Rotate and Scale move the body.
PlaneMap movedHandle(const PlaneMap& map, Handle handle, double dx, double dy);

// The parallelogram's area, |det|.
double parallelogramArea(const PlaneMap& map);
// Whether `point` lies in the parallelogram, edges included; never for a flat map.
bool parallelogramContains(const PlaneMap& map, QPointF point);

// "corner P1", "edge P0–P1", "rotation handle", "scale handle"; empty for the body.
QString handleName(Handle handle);

}  // namespace quill
