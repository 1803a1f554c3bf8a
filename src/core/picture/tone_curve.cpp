#include "core/picture/tone_curve.h"

#include <algorithm>
#include <cmath>

namespace quill {

ToneCurve::ToneCurve(const std::vector<std::uint32_t>& counts, const PictureRequest& request)
    : tone_(request.tone), inverseGamma_(1 / request.gamma), threshold_(request.gammaThreshold) {
  if (tone_ == Tone::Log) {
    if (!counts.empty()) most_ = *std::max_element(counts.begin(), counts.end());
  } else {
    std::uint64_t hits = 0;  // below 2^31: the game plays fewer steps
    std::uint64_t covered = 0;
    for (const std::uint32_t count : counts) {
      hits += count;
      covered += count != 0;
    }
    mean_ = covered == 0 ? 0 : double(hits) / double(covered);
    if (threshold_ > 0) rampSlope_ = std::pow(threshold_, inverseGamma_) / threshold_;
  }
  for (std::uint32_t c = 0; c < kTable; ++c) table_[c] = compute(c);
}

double ToneCurve::compute(std::uint32_t count) const {
  if (count == 0) return 0;
  if (tone_ == Tone::Log) {
    if (most_ == 0) return 0;
    if (count >= most_) return 1;
    return std::pow(std::log1p(double(count)) / std::log1p(double(most_)), inverseGamma_);
  }
  if (mean_ == 0) return 0;
  const double ratio = std::min(1.0, std::log1p(double(count) / mean_) / std::log1p(kMeanPeak));
  return ratio < threshold_ ? ratio * rampSlope_ : std::pow(ratio, inverseGamma_);
}

}  // namespace quill
