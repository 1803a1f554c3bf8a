#pragma once

#include <span>
#include <vector>

namespace quill {

// The least |det| a map weighs with when p is shared in proportion to |det|: a flat map still
// gets drawn now and then. A det that is not finite weighs as this too: it cannot be shared out.
inline constexpr double kSmallestDetWeight = 0.01;

// Each map's share of Σ max(|det_i|, kSmallestDetWeight): adding to 1 to rounding, however large
// the dets (the sum never overflows); none for no maps.
std::vector<double> detShares(std::span<const double> dets);

}  // namespace quill
