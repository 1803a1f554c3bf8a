#include "core/maths/maths_report.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

namespace quill {

namespace {

constexpr double kSimilarityTolerance = 1e-9;  // of σ1
// I − A counts as singular when its rows are this close to parallel: |det| against the product
// of the rows' lengths is the sine of the angle between them.
constexpr double kSingularSine = 1e-12;
constexpr double kDetShareFloor = 0.01;  // the least |det| a map counts with under "p ∝ |det|"
constexpr int kMoranBisections = 2000;   // far more than the 64-bit doubles ever need

// (−180, 180]: atan2 gives [−180, 180], and −180 is the same turn as 180.
double degreesOf(double y, double x) {
  const double degrees = std::atan2(y, x) * (180 / std::numbers::pi);
  return degrees <= -180 ? degrees + 360 : degrees;
}

MapFacts factsOf(int index, const WeightedMap& row) {
  const PlaneMap& m = row.map;
  MapFacts facts;
  facts.index = index;
  facts.row = row;
  facts.det = m.a * m.d - m.b * m.c;
  // A = the rotation part [[p, −q], [q, p]] plus the reflection part [[r, s], [s, −r]]; their
  // lengths |(p, q)| and |(r, s)| give σ1 = sum and σ2 = |difference| (halved, as here).
  const double rotationPart = std::hypot(m.a + m.d, m.c - m.b);
  const double reflectionPart = std::hypot(m.a - m.d, m.b + m.c);
  facts.singularValues = {(rotationPart + reflectionPart) / 2,
                          std::abs(rotationPart - reflectionPart) / 2};
  const double s1 = facts.singularValues[0];
  facts.similarity = s1 > 0 && s1 - facts.singularValues[1] <= kSimilarityTolerance * s1;
  facts.flips = facts.det < 0;
  if (facts.similarity) {
    facts.ratio = s1;
    // Keeping orientation, A = r·R(θ), so θ is the angle of the rotation part. Flipping,
    // A = r·R(θ)·diag(1, −1): a mirror in the x axis first, then the turn by θ (the mirror line
    // lies at θ/2); θ is then the angle of (a, c), the image of the x axis.
    facts.rotationDegrees =
        facts.flips ? degreesOf(m.b + m.c, m.a - m.d) : degreesOf(m.c - m.b, m.a + m.d);
  }
  facts.fixedPoint = fixedPointOf(m);
  facts.expanding = !(s1 < 1);
  return facts;
}

// The D ≥ 0 with Σ r_i^D = 1 for ratios 0 < r_i < 1. The sum falls strictly from n at D = 0 to
// 0, so bisection finds the one root to the last bit; one map gives D = 0 (a point).
double moranDimension(const std::vector<double>& ratios) {
  auto excess = [&](double dimension) {
    double sum = -1;
    for (double r : ratios) sum += std::pow(r, dimension);
    return sum;
  };
  if (!(excess(0) > 0)) return 0;
  double low = 0;
  double high = 1;
  while (excess(high) > 0) {
    low = high;
    high *= 2;  // ends: r^D → 0 for every r < 1
  }
  for (int i = 0; i < kMoranBisections; ++i) {
    const double middle = low + (high - low) / 2;
    if (middle <= low || middle >= high) break;
    (excess(middle) > 0 ? low : high) = middle;
  }
  return low + (high - low) / 2;
}

// Shortest text that reads back as the same double; null where there is no finite number.
void appendNumber(QByteArray& out, double value) {
  if (!std::isfinite(value)) {
    out += "null";
    return;
  }
  char text[32];
  const auto result = std::to_chars(std::begin(text), std::end(text), value);
  out.append(text, int(result.ptr - text));
}

void appendOptional(QByteArray& out, const std::optional<double>& value) {
  if (value) {
    appendNumber(out, *value);
  } else {
    out += "null";
  }
}

template <std::size_t N>
void appendArray(QByteArray& out, const std::array<double, N>& values) {
  out += '[';
  for (std::size_t i = 0; i < N; ++i) {
    if (i > 0) out += ", ";
    appendNumber(out, values[i]);
  }
  out += ']';
}

const char* boolText(bool value) { return value ? "true" : "false"; }

}  // namespace

SystemFacts analyseSystem(std::span<const WeightedMap> maps) {
  SystemFacts facts;
  double shareSum = 0;
  for (std::size_t i = 0; i < maps.size(); ++i) {
    facts.maps.push_back(factsOf(int(i) + 1, maps[i]));
    shareSum += std::max(std::abs(facts.maps.back().det), kDetShareFloor);
  }
  for (MapFacts& map : facts.maps)
    map.detShare = std::max(std::abs(map.det), kDetShareFloor) / shareSum;

  facts.contracting =
      !facts.maps.empty() && std::all_of(facts.maps.begin(), facts.maps.end(),
                                         [](const MapFacts& m) { return m.singularValues[0] < 1; });
  std::vector<PlaneMap> planeMaps;
  for (const WeightedMap& row : maps) planeMaps.push_back(row.map);
  facts.boundingBox = attractorBoxOf(planeMaps);

  const bool allSimilar = std::all_of(facts.maps.begin(), facts.maps.end(),
                                      [](const MapFacts& m) { return m.similarity; });
  if (facts.contracting && allSimilar) {
    std::vector<double> ratios;
    for (const MapFacts& map : facts.maps) ratios.push_back(*map.ratio);
    facts.similarityDimension = moranDimension(ratios);
  }
  return facts;
}

std::optional<std::array<double, 2>> fixedPointOf(const PlaneMap& m) {
  // Cramer's rule.
  const double m11 = 1 - m.a, m12 = -m.b, m21 = -m.c, m22 = 1 - m.d;
  const double det = m11 * m22 - m12 * m21;
  if (!(std::abs(det) > kSingularSine * std::hypot(m11, m12) * std::hypot(m21, m22))) {
    return std::nullopt;
  }
  return std::array<double, 2>{(m22 * m.e - m12 * m.f) / det, (m11 * m.f - m21 * m.e) / det};
}

std::optional<Box> attractorBoxOf(std::span<const PlaneMap> maps) {
  if (std::optional<Box> box = attractorBox(maps)) return box;
  if (std::optional<BoxBounds> bounds = rescaledAttractorBoxBounds(maps)) return bounds->outer;
  return std::nullopt;
}

QByteArray reportJson(const SystemFacts& facts, const std::optional<BoxCounting>& boxes) {
  QByteArray out = "{\n  \"maps\": [";
  for (std::size_t i = 0; i < facts.maps.size(); ++i) {
    const MapFacts& m = facts.maps[i];
    out += i == 0 ? "\n" : ",\n";
    out += "    {\"index\": " + QByteArray::number(m.index);
    const PlaneMap& map = m.row.map;
    const std::pair<const char*, double> numbers[] = {{"a", map.a},   {"b", map.b},  {"c", map.c},
                                                      {"d", map.d},   {"e", map.e},  {"f", map.f},
                                                      {"p", m.row.p}, {"det", m.det}};
    for (const auto& [key, value] : numbers) {
      out += QByteArray(", \"") + key + "\": ";
      appendNumber(out, value);
    }
    out += ", \"singular_values\": ";
    appendArray(out, m.singularValues);
    out += QByteArray(", \"similarity\": ") + boolText(m.similarity) + ", \"ratio\": ";
    appendOptional(out, m.ratio);
    out += ", \"rotation_degrees\": ";
    appendOptional(out, m.rotationDegrees);
    out += QByteArray(", \"flips\": ") + boolText(m.flips) + ", \"fixed_point\": ";
    if (m.fixedPoint) {
      appendArray(out, *m.fixedPoint);
    } else {
      out += "null";
    }
    out += QByteArray(", \"expanding\": ") + boolText(m.expanding) + "}";
  }
  out += facts.maps.empty() ? "],\n" : "\n  ],\n";
  out += QByteArray("  \"contracting\": ") + boolText(facts.contracting) + ",\n";
  out += "  \"bounding_box\": ";
  if (const std::optional<Box>& box = facts.boundingBox) {
    appendArray(out, std::array<double, 4>{box->xmin, box->ymin, box->xmax, box->ymax});
  } else {
    out += "null";
  }
  out += ",\n  \"similarity_dimension\": ";
  appendOptional(out, facts.similarityDimension);
  out += ",\n  \"box_dimension\": ";
  appendOptional(out, boxes ? std::optional<double>(boxes->slope) : std::nullopt);
  out += "\n}\n";
  return out;
}

}  // namespace quill
