#include "core/maths/maths_report.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

#include "core/maths/det_shares.h"

namespace quill {

namespace {

constexpr double kSimilarityTolerance = 1e-9;  // of σ1
// I − A counts as singular when its rows are this close to parallel: |det| against the product
// of the rows' lengths is the sine of the angle between them.
constexpr double kSingularSine = 1e-12;
// t lies on the image of a singular I − A when it matches it to this share of t.
constexpr double kOnImageTolerance = 1e-9;
constexpr int kMoranBisections = 2000;  // far more than the 64-bit doubles ever need

// The k with |x| · 2^-k in [0.5, 1), as scaledLinearPart finds it; 0 for 0 and for what is
// not finite.
int binaryExponent(double x) {
  int exponent = 0;
  if (std::isfinite(x)) std::frexp(x, &exponent);
  return exponent;
}

// a·d − b·c to within two units in the last place, by Kahan's way: the rounding error of b·c,
// found exactly by a fused multiply-add, is added back, so a·d ≈ b·c does not cancel to noise.
// Holds while the products neither overflow nor fall below 2^-1022.
double det2(double a, double b, double c, double d) {
  const double bc = b * c;
  const double error = std::fma(-b, c, bc);  // bc − b·c, exactly
  return std::fma(a, d, -bc) + error;
}

// A 2×2 determinant as value · 2^exponent, each row first scaled by a power of two (exactly) so
// that its larger entry lies in [0.5, 1): the products cannot overflow, however large a·d and
// b·c are, and they fall below 2^-1022 only where both are that small against the rows' scales
// (rows nearly parallel, each led by the same column). So the value is within two units in the
// last place of the true one, else off by at most 2^-1073 (times 2^exponent).
struct ScaledDet {
  double value = 0;
  int exponent = 0;
};

ScaledDet scaledDet(double a, double b, double c, double d) {
  const int top = binaryExponent(std::max(std::abs(a), std::abs(b)));
  const int bottom = binaryExponent(std::max(std::abs(c), std::abs(d)));
  return {det2(std::ldexp(a, -top), std::ldexp(b, -top), std::ldexp(c, -bottom),
               std::ldexp(d, -bottom)),
          top + bottom};
}

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
  const ScaledDet det = scaledDet(m.a, m.b, m.c, m.d);
  facts.det = std::ldexp(det.value, det.exponent);  // ±inf or ±0 only where the true det is
  facts.flips = det.value < 0;                      // also where the det underflows to −0

  // σ1 from A scaled by a power of two (so it overflows only where it passes the largest double
  // itself); σ2 = |det| / σ1, in the same scale, rather than the halved difference of the
  // rotation and reflection parts, which cancels to nothing when σ2 is far below σ1.
  const ScaledLinearPart part = scaledLinearPart(m);
  const double s1 = part.stretch;  // in [0.5, 2], or 0 for the zero map
  const double s2 = s1 > 0 ? std::abs(det.value) / s1 : 0;
  const double sigma1 = std::ldexp(s1, part.exponent);
  facts.singularValues = {sigma1, std::min(std::ldexp(s2, det.exponent - part.exponent), sigma1)};
  facts.similarity = std::isfinite(sigma1) && sigma1 > 0 &&
                     sigma1 - facts.singularValues[1] <= kSimilarityTolerance * sigma1;
  if (facts.similarity) {
    facts.ratio = sigma1;
    // Keeping orientation, A = r·R(θ), so θ is the angle of the rotation part. Flipping,
    // A = r·R(θ)·diag(1, −1): a mirror in the x axis first, then the turn by θ (the mirror line
    // lies at θ/2); θ is then the angle of (a, c), the image of the x axis. The angles are the
    // scaled A's, whose sums do not overflow.
    const double a = part.a, b = part.b, c = part.c, d = part.d;
    facts.rotationDegrees = facts.flips ? degreesOf(b + c, a - d) : degreesOf(c - b, a + d);
  }
  facts.fixedPoint = fixedPointOf(m);
  if (!facts.fixedPoint) {
    facts.fixedLine = fixedLineOf(m);
    facts.everyPointFixed = m.a == 1 && m.b == 0 && m.c == 0 && m.d == 1 && m.e == 0 && m.f == 0;
  }
  facts.expanding = !(sigma1 < 1);
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
  std::vector<double> dets;
  for (std::size_t i = 0; i < maps.size(); ++i) {
    facts.maps.push_back(factsOf(int(i) + 1, maps[i]));
    dets.push_back(facts.maps.back().det);
  }
  const std::vector<double> shares = detShares(dets);
  for (std::size_t i = 0; i < facts.maps.size(); ++i) facts.maps[i].detShare = shares[i];

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
  // Cramer's rule on (I − A) x = t with each equation scaled by a power of two (the solution
  // stays the same) so that no product overflows, as scaledDet does.
  const double m11 = 1 - m.a, m12 = -m.b, m21 = -m.c, m22 = 1 - m.d;
  const int top = binaryExponent(std::max(std::abs(m11), std::abs(m12)));
  const int bottom = binaryExponent(std::max(std::abs(m21), std::abs(m22)));
  const double a = std::ldexp(m11, -top), b = std::ldexp(m12, -top), e = std::ldexp(m.e, -top);
  const double c = std::ldexp(m21, -bottom), d = std::ldexp(m22, -bottom),
               f = std::ldexp(m.f, -bottom);
  const double det = det2(a, b, c, d);
  if (!(std::abs(det) > kSingularSine * std::hypot(a, b) * std::hypot(c, d))) return std::nullopt;
  // + 0: a fixed point at −0 reads as 0.
  return std::array<double, 2>{det2(e, b, f, d) / det + 0.0, det2(a, e, c, f) / det + 0.0};
}

std::optional<FixedLine> fixedLineOf(const PlaneMap& m) {
  // (I − A) x = t with I − A of rank 1: both rows are multiples of the longer one, r, and the
  // fixed points are the line r·x = t_r, provided the other equation is the same multiple of it.
  const double m11 = 1 - m.a, m12 = -m.b, m21 = -m.c, m22 = 1 - m.d;
  const double top = std::hypot(m11, m12), bottom = std::hypot(m21, m22);
  if (!std::isfinite(top) || !std::isfinite(bottom) || (top == 0 && bottom == 0)) {
    return std::nullopt;
  }
  const bool byTop = top >= bottom;
  const double length = byTop ? top : bottom;
  const double r1 = (byTop ? m11 : m21) / length, r2 = (byTop ? m12 : m22) / length;
  const double rt = (byTop ? m.e : m.f) / length;
  const double o1 = byTop ? m21 : m11, o2 = byTop ? m22 : m12, ot = byTop ? m.f : m.e;
  const double k = o1 * r1 + o2 * r2;  // the other row is k·r
  if (fixedPointOf(m) || !(std::abs(ot - k * rt) <= kOnImageTolerance * std::hypot(ot, k * rt))) {
    return std::nullopt;
  }
  FixedLine line;
  line.point = {rt * r1 + 0.0, rt * r2 + 0.0};
  const bool flip = r2 > 0 || (r2 == 0 && r1 < 0);  // the direction (−r2, r1), first part ≥ 0
  line.direction = {(flip ? r2 : -r2) + 0.0, (flip ? -r1 : r1) + 0.0};
  if (!std::isfinite(line.point[0]) || !std::isfinite(line.point[1])) return std::nullopt;
  return line;
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
