#include "core/editor/det_weights.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "core/maps/number_text.h"

namespace quill {

namespace {

constexpr int kFewestDecimals = 3;
constexpr int kMostDecimals = 9;

}  // namespace

QStringList detProportionalTexts(std::span<const double> dets) {
  std::vector<double> weights;
  double total = 0;
  for (const double det : dets) {
    // A det that is not finite weighs as the smallest: it cannot be shared out.
    const double weight =
        std::isfinite(det) ? std::max(std::abs(det), kSmallestDetWeight) : kSmallestDetWeight;
    weights.push_back(weight);
    total += weight;
  }
  if (weights.empty()) return {};
  if (!std::isfinite(total)) total = std::numeric_limits<double>::max();
  const double smallest = *std::min_element(weights.begin(), weights.end()) / total;
  int decimals = kFewestDecimals;
  while (decimals < kMostDecimals && smallest * std::pow(10.0, decimals) < 1) ++decimals;
  const auto whole = std::int64_t(std::llround(std::pow(10.0, decimals)));

  // Units of 10^-decimals; every map keeps one at least.
  std::vector<std::int64_t> units;
  std::int64_t sum = 0;
  for (const double weight : weights) {
    units.push_back(std::max<std::int64_t>(1, std::llround(weight / total * double(whole))));
    sum += units.back();
  }
  const auto largest = std::max_element(units.begin(), units.end());
  *largest += whole - sum;

  QStringList texts;
  for (const std::int64_t count : units) {
    texts << numberToText(double(count) / double(whole));
  }
  return texts;
}

}  // namespace quill
