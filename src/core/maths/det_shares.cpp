#include "core/maths/det_shares.h"

#include <algorithm>
#include <cmath>

namespace quill {

std::vector<double> detShares(std::span<const double> dets) {
  std::vector<double> weights;
  for (const double det : dets) {
    weights.push_back(std::isfinite(det) ? std::max(std::abs(det), kSmallestDetWeight)
                                         : kSmallestDetWeight);
  }
  if (weights.empty()) return weights;
  // Scaled by a power of two that brings the largest weight into [0.5, 1): ten weights then sum
  // to at most 10. The scaling is exact while the largest |det| stays below 1e300, so the shares
  // are then bit for bit weight / Σ.
  int exponent = 0;
  std::frexp(*std::max_element(weights.begin(), weights.end()), &exponent);
  double total = 0;
  for (double& weight : weights) {
    weight = std::ldexp(weight, -exponent);
    total += weight;
  }
  for (double& weight : weights) weight /= total;
  return weights;
}

}  // namespace quill
