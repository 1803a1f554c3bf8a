#include "core/morph/animation.h"

#include <QCoreApplication>
#include <cmath>

#include "core/maps/map_table.h"
#include "core/morph/map_blend.h"
#include "core/morph/polar_split.h"

namespace quill {

namespace {

// How close to a key's time, as a share of the whole span, a frame takes the key itself.
constexpr double kKeyTimeTolerance = 1e-12;

double totalP(const std::vector<WeightedMap>& maps) {
  double total = 0;
  for (const WeightedMap& map : maps) total += map.p;
  return total;
}

int copiesOf(const Matching& matching, int index, bool earlier) {
  int copies = 0;
  for (const MapPair& pair : matching) copies += (earlier ? pair.earlier : pair.later) == index;
  return copies;
}

double ease(Easing easing, double u) { return easing == Easing::Smooth ? u * u * (3 - 2 * u) : u; }

// The state of the map of keys[key] that segment `segment` pairs with map `index` of its own
// end, for the spline's tangents: the pair's own end when the neighbouring key is missing.
MorphState neighbourState(const AnimationPlan& plan, int segment, bool before, int index,
                          const MorphState& end) {
  const int count = int(plan.matchings.size());
  int neighbourSegment = before ? segment - 1 : segment + 1;
  if (plan.loop) neighbourSegment = (neighbourSegment + count) % count;
  if (neighbourSegment < 0 || neighbourSegment >= count) return end;
  const Matching& matching = plan.matchings[std::size_t(neighbourSegment)];
  const AnimationKey& key =
      plan.keys[std::size_t(before ? neighbourSegment : neighbourSegment + 1)];
  for (const MapPair& pair : matching) {
    if ((before ? pair.later : pair.earlier) != index) continue;
    const int far = before ? pair.earlier : pair.later;
    MorphState state = morphState(key.maps[std::size_t(far)], 1);
    state.p = end.p;  // the curve shapes the motion; p runs between its ends
    return state;
  }
  return end;
}

}  // namespace

QString turnOverMessage(const TurnOver& t) {
  return QCoreApplication::translate(
             "Messages",
             "Map %1 of key %2 and map %3 of key %4 turn over: no morph between them avoids a "
             "flat map; match them with other maps to avoid it.")
      .arg(t.earlierMap)
      .arg(t.earlierKey)
      .arg(t.laterMap)
      .arg(t.laterKey);
}

namespace {

std::vector<TurnOver> findTurnOvers(const AnimationPlan& plan) {
  std::vector<TurnOver> found;
  for (std::size_t s = 0; s < plan.matchings.size(); ++s) {
    for (const MapPair& pair : plan.matchings[s]) {
      const PlaneMap& from = plan.keys[s].maps[std::size_t(pair.earlier)].map;
      const PlaneMap& to = plan.keys[s + 1].maps[std::size_t(pair.later)].map;
      if (turnSign(from) * turnSign(to) < 0) {
        const int laterKey = plan.loop && s + 2 == plan.keys.size() ? 1 : int(s) + 2;
        found.push_back({int(s) + 1, pair.earlier + 1, laterKey, pair.later + 1});
      }
    }
  }
  return found;
}

}  // namespace

Result<AnimationPlan> planAnimation(const Animation& animation) {
  const auto refuse = [](const char* text) {
    return Failure{QCoreApplication::translate("Messages", text)};
  };
  if (animation.keys.empty()) return refuse(QT_TRANSLATE_NOOP("Messages", "There is no key."));
  for (std::size_t i = 0; i < animation.keys.size(); ++i) {
    const AnimationKey& key = animation.keys[i];
    if (key.maps.empty() || key.maps.size() > std::size_t(kMaxMaps)) {
      return Failure{QCoreApplication::translate("Messages", "Key %1 needs 1 to %2 maps.")
                         .arg(i + 1)
                         .arg(kMaxMaps)};
    }
    if (!std::isfinite(key.time) || (i > 0 && !(key.time > animation.keys[i - 1].time))) {
      return Failure{
          QCoreApplication::translate("Messages", "Key %1 must come later than the key before it.")
              .arg(i + 1)};
    }
  }
  AnimationPlan plan;
  plan.keys = animation.keys;
  plan.easing = animation.easing;
  plan.loop = animation.loop && animation.keys.size() > 1;
  if (plan.loop) {
    // The way back takes as long as an average step between keys.
    const double span = plan.keys.back().time - plan.keys.front().time;
    AnimationKey closing = plan.keys.front();
    closing.time = plan.keys.back().time + span / double(plan.keys.size() - 1);
    plan.keys.push_back(closing);
  }
  const int segments = int(plan.keys.size()) - 1;
  for (const auto& [segment, matching] : animation.matchings) {
    if (segment < 0 || segment >= segments) {
      return Failure{
          QCoreApplication::translate("Messages", "A matching is given for segment %1 of %2.")
              .arg(segment + 1)
              .arg(segments)};
    }
  }
  for (int s = 0; s < segments; ++s) {
    const auto& earlier = plan.keys[std::size_t(s)].maps;
    const auto& later = plan.keys[std::size_t(s) + 1].maps;
    const auto given = animation.matchings.find(s);
    if (given == animation.matchings.end()) {
      plan.matchings.push_back(matchMaps(earlier, later));
      continue;
    }
    if (const Status fits = checkMatching(given->second, int(earlier.size()), int(later.size()));
        !fits) {
      return Failure{QCoreApplication::translate("Messages", "Segment %1 (key %2 to key %3): %4")
                         .arg(s + 1)
                         .arg(s + 1)
                         .arg(plan.loop && s + 1 == segments ? 1 : s + 2)
                         .arg(fits.message())};
    }
    plan.matchings.push_back(given->second);
  }
  plan.turnOvers = findTurnOvers(plan);
  return plan;
}

double frameTime(const AnimationPlan& plan, int frame, int frameCount) {
  const double first = plan.keys.front().time, last = plan.keys.back().time;
  if (frame <= 0 || frameCount <= 1) return first;
  if (plan.loop) return first + (last - first) * double(frame) / double(frameCount);
  if (frame >= frameCount - 1) return last;
  return first + (last - first) * double(frame) / double(frameCount - 1);
}

std::vector<WeightedMap> systemAt(const AnimationPlan& plan, double time) {
  const auto& keys = plan.keys;
  const double tolerance = kKeyTimeTolerance * (keys.back().time - keys.front().time);
  if (time <= keys.front().time + tolerance) return keys.front().maps;
  std::size_t s = 0;
  while (s + 1 < keys.size() && time >= keys[s + 1].time - tolerance) ++s;
  if (s + 1 >= keys.size() || time <= keys[s].time + tolerance) return keys[s].maps;
  const AnimationKey& from = keys[s];
  const AnimationKey& to = keys[s + 1];
  const Matching& matching = plan.matchings[s];
  const double u = (time - from.time) / (to.time - from.time);
  const double eased = ease(plan.easing, u);
  std::vector<WeightedMap> system;
  for (const MapPair& pair : matching) {
    const MorphState x =
        morphState(from.maps[std::size_t(pair.earlier)], copiesOf(matching, pair.earlier, true));
    const MorphState y =
        morphState(to.maps[std::size_t(pair.later)], copiesOf(matching, pair.later, false));
    if (plan.easing == Easing::Spline) {
      const MorphState before = neighbourState(plan, int(s), true, pair.earlier, x);
      const MorphState after = neighbourState(plan, int(s), false, pair.later, y);
      system.push_back(splineStates(before, x, y, after, u));
    } else {
      system.push_back(blendStates(x, y, eased));
    }
  }
  // p back onto the line between the keys' totals, after padding, the curve or clamping.
  const double wanted = totalP(from.maps) + (totalP(to.maps) - totalP(from.maps)) * eased;
  const double total = totalP(system);
  if (total > 0) {
    for (WeightedMap& map : system) map.p *= wanted / total;
  }
  return system;
}

}  // namespace quill
