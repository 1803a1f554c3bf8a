#pragma once

#include <QString>
#include <map>
#include <optional>
#include <vector>

#include "core/base/result.h"
#include "core/maps/weighted_map.h"
#include "core/morph/map_matching.h"

namespace quill {

// How the morph moves between keys: at an even pace, easing in and out of each key
// (3u² − 2u³), or along a Catmull-Rom curve through the keys before and after.
enum class Easing { Linear, Smooth, Spline };

// A system the animation passes through at `time` (seconds), with where it came from.
struct AnimationKey {
  double time = 0;
  std::vector<WeightedMap> maps;  // 1 to 10 maps, as the grid reads them
  QString name;                   // optional: what the timeline calls it
  QString source;                 // optional: the pattern or file it was taken from
};

// Keys in the order of their times, and how to morph between them.
struct Animation {
  std::vector<AnimationKey> keys;
  Easing easing = Easing::Linear;
  // The last key is followed by the first again, so that the frame after the last is the first.
  bool loop = false;
  // The user's matchings by segment (key i to key i + 1; with a loop, the last segment goes
  // from the last key to the first); a segment without one is matched by matchMaps.
  std::map<int, Matching> matchings;
};

// A pair that no morph can join without passing through a flat map: determinants of opposite
// signs. Keys and maps counted from 1, as the user sees them.
struct TurnOver {
  int earlierKey = 0, earlierMap = 0, laterKey = 0, laterMap = 0;
};
QString turnOverMessage(const TurnOver& turnOver);

// An animation checked and ready to give its frames: the keys (with the first repeated after a
// gap at the end when looping) and a matching for every segment.
struct AnimationPlan {
  std::vector<AnimationKey> keys;
  std::vector<Matching> matchings;  // segment i: keys[i] to keys[i + 1]
  Easing easing = Easing::Linear;
  bool loop = false;
  std::vector<TurnOver> turnOvers;  // pairs that pass through a flat map
};

// Checks the animation and matches its keys. Fails when there is no key, a key has no map or
// more than ten, a time is not finite or not after the one before, or a matching names no
// segment or does not fit its keys. Pairs that turn over are listed in the plan, to be shown
// with turnOverMessage: the morph passes them through a flat map.
Result<AnimationPlan> planAnimation(const Animation& animation);

// The time of frame `frame` of `frameCount`: the first key's time for frame 0 and, without a
// loop, the last key's for the last frame; with a loop the frames end one step before the first
// key comes round again.
double frameTime(const AnimationPlan& plan, int frame, int frameCount);

// The system at `time`: a key's own maps, bit for bit, at its time (and before the first or after
// the last); between keys each matched pair morphed and p scaled so that the system's total runs
// linearly from one key's total to the other's.
std::vector<WeightedMap> systemAt(const AnimationPlan& plan, double time);

}  // namespace quill
