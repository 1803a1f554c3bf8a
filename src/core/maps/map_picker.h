#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "core/maps/weighted_map.h"

namespace quill {

// How a map of a system is picked from 32 random bits wherever the pick need not match the
// canvas's own table (MapChoice) bit for bit: the Map Editor's preview and the box counting.
//
// The rule: k, the top 24 bits, takes map j when k is below its threshold K(j) and at or above
// K(j − 1), K being the running sums of the weights max(p, 0) scaled to 2^24 and rounded; the
// last map's threshold is 2^24, so every k takes a map. Equal weights when none is positive; an
// infinite p weighs as the largest double, NaN as nothing. A map whose share rounds to nothing (p
// below about 2^-25 of the total) is never picked: it would place less than one point in thirty
// million. Only the first kMostMaps maps are picked; with no maps nothing may be picked.
//
// pick() looks k up by its top kGuideBits: a bucket in which at most one threshold falls stores
// it with the maps on either side, so a pick is one load and one comparison; a bucket holding
// more thresholds (maps of share below 2^-kGuideBits) scans from its first map. scan() is the
// plain rule; the two pick the same map for every k.
class MapPicker {
 public:
  static constexpr int kRandomBits = 24;
  static constexpr std::uint32_t kRange = 1u << kRandomBits;
  static constexpr int kMostMaps = 65535;  // the lookup stores map numbers in 16 bits
  static constexpr int kGuideBits = 10;

  explicit MapPicker(std::span<const WeightedMap> maps);

  // The maps that may be picked from: the first count() of those given.
  int count() const { return int(threshold_.size()); }
  // K(j), in units of 2^-24.
  std::uint32_t threshold(int j) const { return threshold_[std::size_t(j)]; }

  // The map (0 to count − 1) of the random bits r.
  int pick(std::uint32_t r) const {
    const std::uint32_t k = r >> (32 - kRandomBits);
    const Entry& entry = table_[k >> kShift];
    if (entry.scan) [[unlikely]] {
      return scanFrom(entry.lower, k);
    }
    return k >= entry.threshold ? entry.upper : entry.lower;
  }

  // The same map, found by scanning the thresholds.
  int scan(std::uint32_t r) const { return scanFrom(0, r >> (32 - kRandomBits)); }

 private:
  static constexpr int kShift = kRandomBits - kGuideBits;
  static constexpr std::uint32_t kBuckets = 1u << kGuideBits;
  static constexpr std::uint32_t kNever = 0xFFFFFFFFu;

  struct Entry {
    std::uint32_t threshold;  // k from here on take `upper`, those below `lower`
    std::uint16_t lower;
    std::uint16_t upper;
    std::uint16_t scan;  // 1: two or more thresholds in the bucket
  };

  // The map of k, knowing that no map before `first` takes it.
  int scanFrom(int first, std::uint32_t k) const {
    int j = first;
    while (k >= threshold_[std::size_t(j)]) ++j;
    return j;
  }

  std::vector<std::uint32_t> threshold_;
  std::array<Entry, kBuckets> table_{};
};

}  // namespace quill
