#include "core/maths/report_wording.h"

#include <QCoreApplication>
#include <cmath>
#include <limits>

namespace quill {

QString reportNumber(double value) { return QString::number(value + 0.0, 'g', 4); }

QString reportPoint(double x, double y) {
  return QStringLiteral("(%1, %2)").arg(reportNumber(x), reportNumber(y));
}

QString contractionWording(const MapFacts& map) {
  const double sigma1 = map.singularValues[0];
  if (!map.expanding) return QCoreApplication::translate("Messages", "yes");
  if (std::abs(sigma1 - 1) <= kUnitStretchUlps * std::numeric_limits<double>::epsilon()) {
    return QCoreApplication::translate("Messages", "does not contract (stretches by 1)");
  }
  return QCoreApplication::translate("Messages", "EXPANDS");
}

QString fixedPointWording(const MapFacts& map) {
  if (map.fixedPoint) return reportPoint((*map.fixedPoint)[0], (*map.fixedPoint)[1]);
  if (map.fixedLine) {
    const FixedLine& line = *map.fixedLine;
    return QCoreApplication::translate("Messages", "line through %1 along %2")
        .arg(reportPoint(line.point[0], line.point[1]),
             reportPoint(line.direction[0], line.direction[1]));
  }
  if (map.everyPointFixed) return QCoreApplication::translate("Messages", "every point");
  return QCoreApplication::translate("Messages", "none");
}

}  // namespace quill
