#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/picture/picture.h"

namespace quill {

// Brightness of a pixel by its hit count, 0 (paper) to 1 (pen), 0 for no hits.
//
// Tone::Log: log(1 + count) / log(1 + most), raised to 1 / gamma, 1 for the most hit pixel.
// Tone::Mean: log(1 + count / mean) / log(1 + kMeanPeak) (at most 1), where mean is the mean
// count of the covered pixels, so the picture's tones depend on how its hits are spread rather
// than on how many there are; raised to 1 / gamma above the gamma threshold, and below it a
// straight ramp from 0 that meets the curve at the threshold.
class ToneCurve {
 public:
  // Pixels this many times the mean or more are given the pen's full colour.
  static constexpr double kMeanPeak = 5;

  ToneCurve(const std::vector<std::uint32_t>& counts, const PictureRequest& request);
  double operator()(std::uint32_t count) const {
    return count < kTable ? table_[count] : compute(count);
  }

 private:
  // Counts below this take their brightness from a table.
  static constexpr std::uint32_t kTable = 4096;
  double compute(std::uint32_t count) const;

  Tone tone_;
  std::uint32_t most_ = 0;
  double mean_ = 0;
  double inverseGamma_;
  double threshold_;
  double rampSlope_ = 0;  // Tone::Mean below the threshold: brightness per unit of the ratio
  std::array<double, kTable> table_{};
};

}  // namespace quill
