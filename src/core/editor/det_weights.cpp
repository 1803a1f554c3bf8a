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

}  // namespace

QStringList detProportionalTexts(std::span<const double> dets) {
  const std::vector<double> shares = detShares(dets);
  if (shares.empty()) return {};
  const double smallest = *std::min_element(shares.begin(), shares.end());
  int decimals = kFewestDecimals;
  while (decimals < kMostDecimals && smallest * std::pow(10.0, decimals) < 1) ++decimals;
  const auto whole = std::int64_t(std::llround(std::pow(10.0, decimals)));

  // Units of 10^-decimals; every map keeps one at least.
  std::vector<std::int64_t> units;
  std::int64_t sum = 0;
  for (const double share : shares) {
    units.push_back(std::max<std::int64_t>(1, std::llround(share * double(whole))));
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

bool sameProbabilities(std::span<const double> current, const QStringList& texts) {
  if (current.size() != std::size_t(texts.size())) return false;
  for (std::size_t i = 0; i < current.size(); ++i) {
    const std::optional<double> value = parseNumber(texts[qsizetype(i)]);
    if (!value || *value != current[i]) return false;
  }
  return true;
}

}  // namespace quill
