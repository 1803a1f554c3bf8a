#include "core/maps/map_picker.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quill {

MapPicker::MapPicker(std::span<const WeightedMap> maps) {
  if (maps.size() > std::size_t(kMostMaps)) maps = maps.first(kMostMaps);
  if (maps.empty()) return;
  // Weights relative to the largest, so that huge ones do not overflow their sum.
  std::vector<double> weight;
  double largest = 0;
  for (const WeightedMap& m : maps) {
    weight.push_back(m.p > 0 ? std::min(m.p, std::numeric_limits<double>::max()) : 0.0);
    largest = std::max(largest, weight.back());
  }
  double total = 0;
  for (double& w : weight) total += largest > 0 ? (w /= largest) : (w = 1);
  double sum = 0;
  for (const double w : weight) {
    sum += w;
    const double scaled = std::round(sum / total * double(kRange));
    threshold_.push_back(std::uint32_t(std::clamp(scaled, 0.0, double(kRange))));
  }
  threshold_.back() = kRange;

  for (std::uint32_t bucket = 0; bucket < kBuckets; ++bucket) {
    const std::uint32_t low = bucket << kShift;
    const std::uint32_t high = low + (1u << kShift) - 1;
    const int first = scanFrom(0, low);
    const int last = scanFrom(first, high);
    Entry& entry = table_[bucket];
    if (last == first) {
      entry = {kNever, std::uint16_t(first), std::uint16_t(first), 0};
    } else if (last == first + 1) {
      entry = {threshold(first), std::uint16_t(first), std::uint16_t(last), 0};
    } else {
      entry = {kNever, std::uint16_t(first), std::uint16_t(first), 1};
    }
  }
}

}  // namespace quill
