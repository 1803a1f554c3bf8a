#include "core/render/chaos_warm_up.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "core/render/map_choice.h"

namespace quill {

namespace {

// Warm-ups beyond this would be longer than any count of steps (a 32-bit number).
constexpr double kLongestWarmUp = 0x1p31;

struct Matrix {
  double a, b, c, d;

  Matrix after(const Matrix& m) const {  // this · m: m acts first
    return {a * m.a + b * m.c, a * m.b + b * m.d, c * m.a + d * m.c, c * m.b + d * m.d};
  }
  double largestSingularValue() const { return quill::largestSingularValue(a, b, c, d); }
};

// The largest σ over the products of `length` maps; NaN wins, as a bound that cannot be trusted.
double largestOverProducts(const std::vector<Matrix>& maps, const Matrix& sofar, int length) {
  if (length == 0) return sofar.largestSingularValue();
  double largest = 0;
  for (const Matrix& m : maps) {
    const double s = largestOverProducts(maps, m.after(sofar), length - 1);
    if (!(s <= largest)) largest = s;
    if (std::isnan(largest)) break;
  }
  return largest;
}

}  // namespace

double largestSingularValue(double a, double b, double c, double d) {
  // σ² is the larger eigenvalue of AᵀA: (s + √(t² + u²)) / 2 with s its trace, written without
  // the cancellation of √(s² − 4·det²).
  const double s = a * a + b * b + c * c + d * d;
  const double t = a * a + b * b - c * c - d * d;
  const double u = 2 * (a * c + b * d);
  return std::sqrt((s + std::hypot(t, u)) / 2);
}

std::optional<std::int64_t> chaosWarmUpSteps(const MapTable& maps) {
  const MapChoice choice(maps);
  std::vector<Matrix> chosen;
  double reached = 0;  // map j takes the r above every earlier bound, up to its own
  for (int j = 1; j <= choice.mapCount(); ++j) {
    if (choice.bound(j) > reached) {
      chosen.push_back({maps.mapA[j], maps.mapB[j], maps.mapC[j], maps.mapD[j]});
      reached = choice.bound(j);
    }
  }
  if (chosen.empty()) return kSettleSteps;  // no step moves the point
  std::optional<double> best;               // steps, a whole number of products
  for (int length = 1; length <= kLongestProduct; ++length) {
    const double sigma = largestOverProducts(chosen, {1, 0, 0, 1}, length);
    if (!(sigma < 1)) continue;
    // σm^q ≤ 2^−kGapBits; products that collapse everything (σm = 0) need no halving.
    const double products =
        sigma == 0 ? 0 : std::ceil(kGapBits * std::numbers::ln2 / -std::log(sigma));
    best = std::min(best.value_or(products * length), products * length);
  }
  if (!best || !(*best < kLongestWarmUp)) return std::nullopt;
  return std::int64_t(*best) + kSettleSteps;
}

}  // namespace quill
