#pragma once

#include <array>
#include <cmath>
#include <cstdint>

#include "core/render/map_choice.h"

namespace quill {

// MapChoice as a lookup: picks, from the 24 random bits k of r = k / 2^24, exactly the map that
// MapChoice::pick(r) picks, without scanning the bounds at each step.
//
// Map j takes the k with K(j − 1) < k ≤ K(j), K(j) = ⌊bound(j) · 2^24⌋ (the product is exact),
// because r ≤ bound(j) holds exactly for those k. The k are cut into 2^kGuideBits buckets by
// their top bits; a bucket in which at most one map ends stores that end and the maps on either
// side, so a pick is one load and one comparison. The few buckets in which two or more maps end
// (maps of probability below 2^-kGuideBits) fall back to MapChoice itself.
class MapGuide {
 public:
  static constexpr int kRandomBits = 24;
  static constexpr int kGuideBits = 10;

  explicit MapGuide(const MapChoice& choice) : choice_(choice) {
    const int m = choice.mapCount();
    // The thresholds are exact only for bounds that do not decrease and are numbers; anything
    // else (which a table read from the panel does not produce) is left to MapChoice entirely.
    bool ordered = true;
    std::array<std::int64_t, kMapSlots> last{};  // K(j), clamped to [0, 2^24]
    for (int j = 1; j <= m; ++j) {
      const double b = choice.bound(j);
      if (std::isnan(b) || b < 0 || (j > 1 && b < choice.bound(j - 1))) ordered = false;
      const double scaled = std::floor(std::min(b, 2.0) * double(kRandomRange));
      last[j] = std::int64_t(std::max(scaled, 0.0));
    }
    for (std::uint32_t bucket = 0; bucket < kBuckets; ++bucket) {
      Entry& entry = table_[bucket];
      if (!ordered) {
        entry = {0, kSlow, kSlow};
        continue;
      }
      const std::uint32_t low = bucket << kShift;
      const std::uint32_t high = low + (1u << kShift) - 1;
      const int first = rank(low, last, m);
      const int final = rank(high, last, m);
      if (final - first > 1) {
        entry = {0, kSlow, kSlow};
      } else if (final == first) {
        entry = {kNever, mapOfRank(first, m), mapOfRank(first, m)};
      } else {
        // The first k of the bucket whose rank is `final`: rank does not decrease in k.
        std::uint32_t lo = low;
        std::uint32_t hi = high;
        while (lo < hi) {
          const std::uint32_t mid = lo + (hi - lo) / 2;
          if (rank(mid, last, m) >= final) {
            hi = mid;
          } else {
            lo = mid + 1;
          }
        }
        entry = {lo, mapOfRank(first, m), mapOfRank(final, m)};
      }
    }
  }

  // The map for the random bits k (0 ≤ k < 2^24): 1 to mapCount, or 0 when r takes none.
  int pick(std::uint32_t k) const {
    const Entry& entry = table_[k >> kShift];
    const int j = k >= entry.threshold ? entry.upper : entry.lower;
    if (j == kSlow) [[unlikely]] {
      return choice_.pick(float(k) * 0x1p-24f);
    }
    return j;
  }

 private:
  static constexpr std::uint32_t kRandomRange = 1u << kRandomBits;
  static constexpr int kShift = kRandomBits - kGuideBits;
  static constexpr std::uint32_t kBuckets = 1u << kGuideBits;
  static constexpr std::uint8_t kSlow = 0xFF;
  static constexpr std::uint32_t kNever = 0xFFFFFFFFu;

  struct Entry {
    std::uint32_t threshold;  // k from here on take `upper`, those below take `lower`
    std::uint8_t lower;
    std::uint8_t upper;
  };

  // 0 for k = 0 (r = 0 takes no map), otherwise 1 + the number of maps that end below k; a rank
  // above mapCount means no map takes k.
  static int rank(std::uint32_t k, const std::array<std::int64_t, kMapSlots>& last, int m) {
    if (k == 0) return 0;
    int below = 0;
    for (int j = 1; j <= m; ++j) below += last[j] < std::int64_t(k) ? 1 : 0;
    return 1 + below;
  }
  static std::uint8_t mapOfRank(int rank, int m) {
    return std::uint8_t(rank >= 1 && rank <= m ? rank : 0);
  }

  MapChoice choice_;
  std::array<Entry, kBuckets> table_{};
};

}  // namespace quill
