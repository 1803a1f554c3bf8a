#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <span>
#include <vector>

#include "core/editor/preview_renderer.h"

namespace quill {

// The rules of the preview's game that both renderers share.
constexpr std::uint64_t kPreviewSkip = 20;      // steps of a fresh orbit not plotted
constexpr std::uint64_t kPreviewBatch = 65536;  // points between two looks at the cancel flag
constexpr double kPreviewRunOff = 1e6 * 1e6;    // squared distance at which the orbit restarts
constexpr int kPreviewMaxMaps = 65535;          // the guide stores map numbers in 16 bits

// How the preview picks a map from 24 random bits k: map j takes the k below its threshold
// K(j) and at or above K(j − 1), K being the running sums of the weights max(p, 0) scaled to
// 2^24 and rounded; the last map's threshold is 2^24, so every k takes a map. Equal weights
// when none is positive. A map whose share rounds to nothing (p below about 2^-25 of the
// total) is not drawn: it would place less than one point in thirty million.
class PreviewChoice {
 public:
  static constexpr std::uint32_t kRange = 1u << 24;

  explicit PreviewChoice(std::span<const WeightedMap> maps) : count_(int(maps.size())) {
    // Weights relative to the largest, so that huge ones do not overflow their sum; an infinite
    // p counts as the largest double, NaN as no weight.
    std::vector<double> weight;
    double largest = 0;
    for (const WeightedMap& m : maps) {
      weight.push_back(m.p > 0 ? std::min(m.p, std::numeric_limits<double>::max()) : 0.0);
      largest = std::max(largest, weight.back());
    }
    double total = 0;
    for (double& w : weight) total += largest > 0 ? (w /= largest) : (w = 1);
    double sum = 0;
    for (std::size_t j = 0; j < weight.size(); ++j) {
      sum += weight[j];
      const double scaled = std::round(sum / total * double(kRange));
      threshold_.push_back(std::uint32_t(std::clamp(scaled, 0.0, double(kRange))));
    }
    if (!threshold_.empty()) threshold_.back() = kRange;
  }

  int count() const { return count_; }
  std::uint32_t threshold(int j) const { return threshold_[std::size_t(j)]; }

  // The map (0 to count − 1) of the random bits k < 2^24.
  int pick(std::uint32_t k) const { return pickFrom(0, k); }

  // The same, knowing that no map before `first` takes k.
  int pickFrom(int first, std::uint32_t k) const {
    int j = first;
    while (k >= threshold_[std::size_t(j)]) ++j;
    return j;
  }

 private:
  int count_;
  std::vector<std::uint32_t> threshold_;
};

// PreviewChoice as a lookup on the top kGuideBits of k: a bucket in which at most one threshold
// falls stores it with the maps on either side, so a pick is one load and one comparison; a
// bucket holding more thresholds (maps of share below 2^-kGuideBits) scans from its first map.
class PreviewGuide {
 public:
  static constexpr int kGuideBits = 10;

  explicit PreviewGuide(const PreviewChoice& choice) : choice_(choice) {
    for (std::uint32_t bucket = 0; bucket < kBuckets; ++bucket) {
      const std::uint32_t low = bucket << kShift;
      const std::uint32_t high = low + (1u << kShift) - 1;
      const int first = choice.pick(low);
      const int last = choice.pick(high);
      Entry& entry = table_[bucket];
      if (last == first) {
        entry = {kNever, std::uint16_t(first), std::uint16_t(first), 0};
      } else if (last == first + 1) {
        entry = {choice.threshold(first), std::uint16_t(first), std::uint16_t(last), 0};
      } else {
        entry = {kNever, std::uint16_t(first), std::uint16_t(first), 1};
      }
    }
  }

  int pick(std::uint32_t k) const {
    const Entry& entry = table_[k >> kShift];
    if (entry.scan) [[unlikely]] {
      return choice_.pickFrom(entry.lower, k);
    }
    return k >= entry.threshold ? entry.upper : entry.lower;
  }

 private:
  static constexpr int kShift = 24 - kGuideBits;
  static constexpr std::uint32_t kBuckets = 1u << kGuideBits;
  static constexpr std::uint32_t kNever = 0xFFFFFFFFu;

  struct Entry {
    std::uint32_t threshold;  // k from here on take `upper`, those below `lower`
    std::uint16_t lower;
    std::uint16_t upper;
    std::uint16_t scan;  // 1: two or more thresholds in the bucket
  };

  const PreviewChoice& choice_;
  std::array<Entry, kBuckets> table_{};
};

}  // namespace quill
