#include "core/morph/map_blend.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace quill {

namespace {

// The numbers a morph interpolates: turn (unwrapped), stretch (log or plain), e, f, p.
using Coordinates = std::array<double, 7>;

Coordinates coordinates(const MorphState& state, double turn, bool logSpace) {
  const Symmetric2 s = logSpace ? logSymmetric(state.split.stretch) : state.split.stretch;
  return {turn, s.xx, s.xy, s.yy, state.e, state.f, state.p};
}

// R(turn)·S·diag(1, side): side is −1 for a mirrored map, 1 for one that is not, and runs
// between them for a pair that turns over.
WeightedMap fromCoordinates(const Coordinates& at, double side, bool logSpace) {
  PolarSplit split;
  split.turn = at[0];
  split.stretch = {at[1], at[2], at[3]};
  if (logSpace) split.stretch = expSymmetric(split.stretch);
  PlaneMap map = joinPolar(split, at[4], at[5]);
  map.b *= side;
  map.d *= side;
  return {map, std::max(0.0, at[6])};
}

double sideOf(const PolarSplit& split) { return split.mirrored ? -1 : 1; }

// `to` moved by whole turns to lie within half a turn of `from`.
double nearestTurn(double from, double to) {
  return from + std::remainder(to - from, 2 * std::numbers::pi);
}

// The side both ends are split on: a flat map has none of its own and takes the other's.
bool mirroredPair(const MorphState& from, const MorphState& to) {
  return from.split.mirrored || to.split.mirrored;
}

bool turnsOver(const MorphState& from, const MorphState& to) {
  return turnSign(from.map) * turnSign(to.map) < 0;
}

MorphState onSide(const MorphState& state, bool mirrored) {
  if (state.split.mirrored == mirrored) return state;
  MorphState sided = state;
  sided.split = polarSplit(state.map, mirrored);
  return sided;
}

bool sameMap(const PlaneMap& x, const PlaneMap& y) {
  return x.a == y.a && x.b == y.b && x.c == y.c && x.d == y.d && x.e == y.e && x.f == y.f;
}

}  // namespace

MorphState morphState(const WeightedMap& map, int copies) {
  return {map.map, polarSplit(map.map), map.map.e, map.map.f, map.p / copies};
}

WeightedMap blendStates(const MorphState& fromState, const MorphState& toState, double u) {
  // A map that does not change stays itself to the bit, so it does not shimmer from frame to
  // frame, and a copy made to pad a key draws just what the map draws.
  if (sameMap(fromState.map, toState.map)) {
    return {fromState.map, fromState.p + (toState.p - fromState.p) * u};
  }
  // A pair that turns over keeps each end on its own side; the mirror alone runs through a flat
  // map, at u = ½.
  const bool ownSides = turnsOver(fromState, toState);
  const bool mirrored = mirroredPair(fromState, toState);
  const MorphState from = ownSides ? fromState : onSide(fromState, mirrored);
  const MorphState to = ownSides ? toState : onSide(toState, mirrored);
  const bool logSpace = !isFlat(from.split.stretch) && !isFlat(to.split.stretch);
  const Coordinates x = coordinates(from, from.split.turn, logSpace);
  const Coordinates y = coordinates(to, nearestTurn(from.split.turn, to.split.turn), logSpace);
  Coordinates at{};
  for (std::size_t i = 0; i < at.size(); ++i) at[i] = x[i] + (y[i] - x[i]) * u;
  const double side = sideOf(from.split) + (sideOf(to.split) - sideOf(from.split)) * u;
  return fromCoordinates(at, side, logSpace);
}

WeightedMap splineStates(const MorphState& before, const MorphState& fromState,
                         const MorphState& toState, const MorphState& after, double u) {
  if (sameMap(fromState.map, toState.map) || turnsOver(fromState, toState)) {
    return blendStates(fromState, toState, u);
  }
  const bool mirrored = mirroredPair(fromState, toState);
  const MorphState from = onSide(fromState, mirrored), to = onSide(toState, mirrored);
  // A neighbour that cannot share the pair's space stands still at the pair's end.
  const auto usable = [mirrored](const MorphState& neighbour, const MorphState& end) {
    return neighbour.split.mirrored == mirrored && !isFlat(neighbour.split.stretch) ? neighbour
                                                                                    : end;
  };
  const bool logSpace = !isFlat(from.split.stretch) && !isFlat(to.split.stretch);
  const MorphState& p0 = logSpace ? usable(before, from) : from;
  const MorphState& p3 = logSpace ? usable(after, to) : to;
  const double turn1 = from.split.turn;
  const double turn0 = nearestTurn(turn1, p0.split.turn);
  const double turn2 = nearestTurn(turn1, to.split.turn);
  const double turn3 = nearestTurn(turn2, p3.split.turn);
  const Coordinates c0 = coordinates(p0, turn0, logSpace);
  const Coordinates c1 = coordinates(from, turn1, logSpace);
  const Coordinates c2 = coordinates(to, turn2, logSpace);
  const Coordinates c3 = coordinates(p3, turn3, logSpace);
  const double u2 = u * u, u3 = u2 * u;
  Coordinates at{};
  for (std::size_t i = 0; i < at.size(); ++i) {
    at[i] =
        0.5 * (2 * c1[i] + (c2[i] - c0[i]) * u + (2 * c0[i] - 5 * c1[i] + 4 * c2[i] - c3[i]) * u2 +
               (3 * c1[i] - c0[i] - 3 * c2[i] + c3[i]) * u3);
  }
  return fromCoordinates(at, mirrored ? -1 : 1, logSpace);
}

PlaneMap blendCoefficients(const PlaneMap& from, const PlaneMap& to, double u) {
  const auto mix = [u](double x, double y) { return x + (y - x) * u; };
  return {mix(from.a, to.a), mix(from.b, to.b), mix(from.c, to.c),
          mix(from.d, to.d), mix(from.e, to.e), mix(from.f, to.f)};
}

}  // namespace quill
