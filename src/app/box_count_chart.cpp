#include "app/box_count_chart.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace quill {

namespace {

// The chart's points, in log2 units: x = log2(1 / size), y = log2(count).
struct LogPoint {
  double x = 0, y = 0;
};

}  // namespace

BoxCountChart::BoxCountChart(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("boxCountChart"));
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void BoxCountChart::setCounting(const std::optional<BoxCounting>& counting, const QString& empty) {
  counting_ = counting;
  empty_ = empty;
  update();
}

namespace {

// Whole-number ticks from `low` to `high`, a step of 1, 2, 5, 10 … so that at most `most` fit.
std::vector<int> ticksBetween(double low, double high, int most) {
  static constexpr int kSteps[] = {1, 2, 5, 10, 20, 50, 100, 200, 500};
  int step = 1;
  for (int candidate : kSteps) {
    step = candidate;
    if ((high - low) / step <= most) break;
  }
  std::vector<int> ticks;
  for (int tick = int(std::ceil(low / step)) * step; tick <= high; tick += step) {
    ticks.push_back(tick);
  }
  return ticks;
}

}  // namespace

void BoxCountChart::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(rect(), palette().base());
  const QFontMetrics metrics = fontMetrics();
  const int line = metrics.height();
  // Room for the axis titles and the numbers of the ticks, left and below.
  const int left = line + metrics.horizontalAdvance(QStringLiteral("888")) + 6;
  const int bottom = 2 * line + 4;
  const QRectF plot = QRectF(rect()).adjusted(left, 8, -8, -bottom);
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawRect(plot);
  painter.setPen(palette().color(QPalette::Text));
  painter.drawText(QRectF(plot.left(), plot.bottom() + line + 2, plot.width(), line),
                   Qt::AlignCenter, tr("log₂ (1 / box size)"));
  painter.save();
  painter.translate(2, plot.bottom());
  painter.rotate(-90);
  painter.drawText(QRectF(0, 0, plot.height(), line), Qt::AlignCenter, tr("log₂ count"));
  painter.restore();
  std::vector<LogPoint> points;
  if (counting_) {
    for (const BoxCountPoint& point : counting_->points) {
      if (point.boxSize > 0 && point.occupied > 0) {
        points.push_back({-std::log2(point.boxSize), std::log2(double(point.occupied))});
      } else {
        points.push_back({std::nan(""), std::nan("")});
      }
    }
  }
  auto finite = [](const LogPoint& p) { return std::isfinite(p.x) && std::isfinite(p.y); };
  if (std::none_of(points.begin(), points.end(), finite)) {
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(plot, Qt::AlignCenter | Qt::TextWordWrap, empty_);
    return;
  }
  double xmin = INFINITY, xmax = -INFINITY, ymin = INFINITY, ymax = -INFINITY;
  for (const LogPoint& p : points) {
    if (!finite(p)) continue;
    xmin = std::min(xmin, p.x);
    xmax = std::max(xmax, p.x);
    ymin = std::min(ymin, p.y);
    ymax = std::max(ymax, p.y);
  }
  // A little room around the dots; a single dot sits in the middle.
  const double xpad = std::max(0.5, 0.05 * (xmax - xmin));
  const double ypad = std::max(0.5, 0.05 * (ymax - ymin));
  xmin -= xpad, xmax += xpad, ymin -= ypad, ymax += ypad;
  auto toWidget = [&](double x, double y) {
    return QPointF(plot.left() + (x - xmin) / (xmax - xmin) * plot.width(),
                   plot.bottom() - (y - ymin) / (ymax - ymin) * plot.height());
  };
  const QColor tickColour = palette().color(QPalette::Mid);
  const QColor numberColour = palette().color(QPalette::Text);
  const int labelWidth = left - line - 4;
  for (int tick : ticksBetween(xmin, xmax, std::max(2, int(plot.width()) / (3 * line)))) {
    const double x = toWidget(tick, ymin).x();
    painter.setPen(tickColour);
    painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() - 4));
    painter.setPen(numberColour);
    painter.drawText(QRectF(x - 2 * line, plot.bottom() + 1, 4 * line, line), Qt::AlignCenter,
                     QString::number(tick));
  }
  for (int tick : ticksBetween(ymin, ymax, std::max(2, int(plot.height()) / (2 * line)))) {
    const double y = toWidget(xmin, tick).y();
    painter.setPen(tickColour);
    painter.drawLine(QPointF(plot.left(), y), QPointF(plot.left() + 4, y));
    painter.setPen(numberColour);
    painter.drawText(QRectF(plot.left() - labelWidth - 3, y - line / 2.0, labelWidth, line),
                     Qt::AlignRight | Qt::AlignVCenter, QString::number(tick));
  }

  const int first = counting_->fitFirst;
  const int last = counting_->fitLast;
  const int count = int(points.size());
  painter.save();
  painter.setClipRect(plot);
  if (first >= 0 && last < count && first < last && std::isfinite(counting_->slope)) {
    // A least-squares line runs through the mean of the points it was fitted on, whatever the
    // base of the logarithms it was fitted in; the slope is the same in any base.
    double sx = 0, sy = 0;
    int n = 0;
    for (int i = first; i <= last; ++i) {
      if (!finite(points[std::size_t(i)])) continue;
      sx += points[std::size_t(i)].x;
      sy += points[std::size_t(i)].y;
      ++n;
    }
    if (n > 0) {
      const double slope = counting_->slope, mx = sx / n, my = sy / n;
      const double x0 = points[std::size_t(first)].x - 0.5, x1 = points[std::size_t(last)].x + 0.5;
      painter.setPen(QPen(QColor(200, 90, 30), 1.5));
      painter.drawLine(toWidget(x0, my + slope * (x0 - mx)), toWidget(x1, my + slope * (x1 - mx)));
    }
  }
  const QColor dot(30, 70, 140);
  for (int i = 0; i < count; ++i) {
    const LogPoint& p = points[std::size_t(i)];
    if (!finite(p)) continue;
    const bool fitted = i >= first && i <= last;
    painter.setPen(QPen(dot, 1.2));
    painter.setBrush(fitted ? QBrush(dot) : QBrush(Qt::NoBrush));
    painter.drawEllipse(toWidget(p.x, p.y), 3, 3);
  }
  painter.restore();
  painter.setPen(palette().color(QPalette::Text));
  painter.drawText(plot.adjusted(6, 4, -6, -4), Qt::AlignLeft | Qt::AlignTop,
                   tr("slope %1").arg(counting_->slope, 0, 'f', 3));
  // The legend, bottom right, where the dots of a rising line leave room.
  const QString fittedText = tr("fitted");
  const QString leftOutText = tr("left out");
  const int textWidth =
      std::max(metrics.horizontalAdvance(fittedText), metrics.horizontalAdvance(leftOutText));
  const QRectF legend(plot.right() - textWidth - 22, plot.bottom() - 2 * line - 6, textWidth + 18,
                      2 * line + 4);
  painter.fillRect(legend, palette().base());
  for (int row = 0; row < 2; ++row) {
    const double y = legend.top() + 2 + line * (row + 0.5);
    painter.setPen(QPen(dot, 1.2));
    painter.setBrush(row == 0 ? QBrush(dot) : QBrush(Qt::NoBrush));
    painter.drawEllipse(QPointF(legend.left() + 7, y), 3, 3);
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(QRectF(legend.left() + 14, y - line / 2.0, textWidth + 4, line),
                     Qt::AlignLeft | Qt::AlignVCenter, row == 0 ? fittedText : leftOutText);
  }
}

}  // namespace quill
