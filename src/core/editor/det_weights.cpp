#include "core/editor/det_weights.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/maps/number_text.h"
#include "core/maths/det_shares.h"

namespace quill {

namespace {

constexpr int kFewestDecimals = 3;
constexpr int kMostDecimals = 9;

// Shares that add up to 1 to rounding as decimal texts that add up to exactly 1, with as few
// decimals as keep every share above zero above zero.
QStringList shareTexts(const std::vector<double>& shares) {
  double smallest = 1;
  for (const double share : shares) {
    if (share > 0) smallest = std::min(smallest, share);
  }
  int decimals = kFewestDecimals;
  while (decimals < kMostDecimals && smallest * std::pow(10.0, decimals) < 1) ++decimals;
  const auto whole = std::int64_t(std::llround(std::pow(10.0, decimals)));

  // Units of 10^-decimals; every share above zero keeps one at least.
  std::vector<std::int64_t> units;
  std::int64_t sum = 0;
  for (const double share : shares) {
    const std::int64_t least = share > 0 ? 1 : 0;
    units.push_back(std::max<std::int64_t>(least, std::llround(share * double(whole))));
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

}  // namespace

QStringList detProportionalTexts(std::span<const double> dets) {
  const std::vector<double> shares = detShares(dets);
  if (shares.empty()) return {};
  return shareTexts(shares);
}

QStringList proportionalTexts(std::span<const double> weights) {
  double sum = 0;
  for (const double weight : weights) sum += weight;
  if (weights.empty() || !(sum > 0) || !std::isfinite(sum)) return {};
  std::vector<double> shares;
  for (const double weight : weights) shares.push_back(weight / sum);
  return shareTexts(shares);
}

bool sameProbabilities(std::span<const double> current, const QStringList& texts) {
  if (current.size() != std::size_t(texts.size())) return false;
  for (std::size_t i = 0; i < current.size(); ++i) {
    const std::optional<double> value = parseNumber(texts[qsizetype(i)]);
    if (!value || *value != current[i]) return false;
  }
  return true;
}

}  // namespace quill
