#pragma once

#include <optional>
#include <span>

#include "core/maps/weighted_map.h"

namespace quill {

struct Box {
  double xmin = 0, ymin = 0, xmax = 0, ymax = 0;
};

// The map's linear part [[a, b], [c, d]] times 2^-exponent, the power of two that brings its
// largest entry into [0.5, 1) (exponent 0 where all are 0 or one is not finite), and its largest
// singular value then, in [0.5, 2] or 0: scaled so, no sum overflows, whatever the coefficients.
struct ScaledLinearPart {
  double a = 0, b = 0, c = 0, d = 0;
  int exponent = 0;
  double stretch = 0;
};
ScaledLinearPart scaledLinearPart(const PlaneMap& map);

// The largest singular value of the map's linear part: infinite only where it passes the largest
// double.
double largestStretch(const PlaneMap& map);

// The smallest axis-aligned box holding the attractor of maps that all contract (largest
// stretch < 1), to 1e-9 of its size; nothing when a map does not contract or there are no maps.
// The box always holds the whole attractor: each side is an upper bound of the attractor's reach
// that way. For maps that barely contract (stretch within about 1e-3 of 1) the work is capped and
// a side may then lie farther out than 1e-9 of the size; attractorBoxBounds says by how much.
std::optional<Box> attractorBox(std::span<const PlaneMap> maps);

// Both sides of the answer: `outer` holds the attractor (it is what attractorBox returns) and
// every side of `inner` is reached by a point of the attractor, so the smallest box lies between.
struct BoxBounds {
  Box outer;
  Box inner;
};
std::optional<BoxBounds> attractorBoxBounds(std::span<const PlaneMap> maps);

// attractorBoxBounds, also for maps that contract only once one axis is rescaled, such as a
// quarter turn that keeps one side of the square and shrinks the other (stretch 1, but its
// square contracts): the box is found for the maps conjugated by the scaling of y that makes
// the largest stretch smallest, and scaled back, since such a scaling keeps boxes axis-aligned.
// Nothing when no scaling of y between 1/16 and 16 makes every map contract.
std::optional<BoxBounds> rescaledAttractorBoxBounds(std::span<const PlaneMap> maps);

}  // namespace quill
