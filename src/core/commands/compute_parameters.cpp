#include "core/commands/compute_parameters.h"

#include <QCoreApplication>
#include <cmath>

#include "core/commands/show_if_failed.h"
#include "core/document/document.h"
#include "core/maps/number_text.h"

namespace quill {

namespace {

// π to 15 digits, not M_PI: saved parameter files hold coefficients computed with this value
// (cos 90° comes out a tiny positive number, cut to 0), and they must come out the same.
constexpr double kPi = 3.14159265358979;

// Degrees to radians, multiplying by π first and dividing by 180 after: the other order rounds
// differently in the last bit, and the cut to three decimals can then differ.
double radians(double degrees) { return degrees * kPi / 180; }

// The text the grid shows for a computed coefficient: cut to three decimals downwards, so
// −0.8660254 shows as "-0.867". A magnitude so large that 1000·v overflows has no decimals to cut
// and is shown as it is.
QString cutText(double value) {
  const double scaled = std::floor(1000 * value);
  return numberToText(std::isfinite(scaled) ? scaled / 1000 : value);
}

Status computeCoefficients(PanelState& state, MapTable& maps) {
  for (const QString& text : state.computeFields) {
    if (text.isEmpty()) {
      return Failure{
          QCoreApplication::translate("Messages", "Please enter values for all parameters")};
    }
  }

  std::array<double, kComputeFieldCount> values{};
  for (int k = 0; k < kComputeFieldCount; ++k) {
    const std::optional<double> value = parseNumber(state.computeFields[k]);
    // Refused as well: values too large for a double, and angles so large that converting them
    // to radians overflows (their sine and cosine would be NaN).
    const bool isAngle = k == 2 || k == 3;
    if (!value || (isAngle && !std::isfinite(radians(*value)))) {
      return Failure{QCoreApplication::translate("Messages", "Please enter only numerical values")};
    }
    values[k] = *value;
  }

  state.workR = values[0];
  state.workS = values[1];
  state.workAngle1 = values[2];
  state.workAngle2 = values[3];
  // An index beyond a 32-bit integer is out of range like any other: same message, and the last
  // index that fitted is kept.
  const std::optional<std::int32_t> index = roundToInt32(values[4]);
  if (index) state.workIndex = *index;
  if (!index || *index < 1 || *index > kMaxMaps) {
    return Failure{QCoreApplication::translate("Messages", "Enter index i from 1 to 10")};
  }

  const int i = *index;
  const double angle1 = radians(state.workAngle1);
  const double angle2 = radians(state.workAngle2);
  maps.mapA[i] = state.workR * std::cos(angle1);
  maps.mapB[i] = -state.workS * std::sin(angle2);
  maps.mapC[i] = state.workR * std::sin(angle1);
  maps.mapD[i] = state.workS * std::cos(angle2);

  // The grid shows the cut values; drawing commands read the grid again, so those are drawn.
  state.cell(i, kColA) = cutText(maps.mapA[i]);
  state.cell(i, kColB) = cutText(maps.mapB[i]);
  state.cell(i, kColC) = cutText(maps.mapC[i]);
  state.cell(i, kColD) = cutText(maps.mapD[i]);
  return {};
}

}  // namespace

Status computeMap(Document& document) {
  return computeCoefficients(document.state, document.drawing.maps);
}

void computeParameters(Document& document) { showIfFailed(document.dialogs, computeMap(document)); }

}  // namespace quill
