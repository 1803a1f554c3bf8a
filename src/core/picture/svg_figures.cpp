#include "core/picture/svg_figures.h"

#include <QXmlStreamWriter>
#include <algorithm>
#include <cmath>

#include "core/render/square_figure.h"
#include "core/render/triangle_figure.h"

namespace quill {

namespace {

constexpr double kTwipsPerPixel = 15;
// Figures between two looks at the cancel flag.
constexpr std::int64_t kFigureCheck = 4096;
// The canvas writes the numbers in 12 point at 96 pixels to the inch; a bold sans-serif's
// ascent is about this share of its size.
constexpr double kNumberPixels = 16;
constexpr double kAscentShare = 0.8;

// The longest text number() gives for a coordinate: a sign, eight digits, a point and an
// exponent of two digits, "-1.2345678e+37" (a coordinate is a float over 15, so its exponent
// never needs three), the shorter form being chosen when the other is longer.
constexpr double kNumberChars = 14;
// The map number of a figure: 1 to 10.
constexpr double kMapNumberChars = 2;

// The bytes of an element with every number left out; each starts on a line of its own.
double emptyElementChars(const char* element) { return double(qstrlen(element)); }

// A points attribute of `count` points at their longest: "x,y x,y ...".
double pointsChars(std::size_t count) {
  return double(count) * (2 * kNumberChars + 1) + double(count) - 1;
}

QString colourText(Rgb colour) {
  return QStringLiteral("#%1").arg(colour & 0xFFFFFF, 6, 16, QLatin1Char('0'));
}

QString number(double v) { return QString::number(v, 'g', 8); }

}  // namespace

SvgFigures::SvgFigures(QXmlStreamWriter* xml, const DrawingState& drawing, bool square,
                       bool numbered, const PictureRequest& request, const RenderControl& control,
                       double mostBytes)
    : xml_(xml),
      view_(View::of(drawing.square)),
      maps_(scaledMaps(drawing.maps, drawing.square.viewScale)),
      mapCount_(std::clamp(drawing.maps.mapCount, 0, kMaxMaps)),
      depth_(drawing.iterationCount),
      square_(square),
      numbered_(numbered),
      smallest_(request.svgSmallestFigure),
      control_(control),
      pen_(request.pen),
      covered_(request.width, request.height),
      width_(request.width),
      height_(request.height),
      mostBytes_(mostBytes) {
  const SquareFigure squareBase = baseSquareFigure(drawing.square.viewScale);
  if (square) {
    base_.assign(squareBase.corner.begin(), squareBase.corner.end());
    base_.insert(base_.end(), squareBase.mark.begin(), squareBase.mark.end());
  } else {
    const TriangleFigure triangle = baseTriangle(drawing.square.viewScale);
    base_.assign(triangle.corner.begin(), triangle.corner.end());
  }
  if (mapCount_ > 0) {
    bounds_ = figureBounds(std::span(maps_).subspan(1, std::size_t(mapCount_)), base_);
  }
}

SvgFigures::Outcome SvgFigures::draw() {
  if (depth_ < 0 || depth_ > kMaxFigureDepth) return Outcome::Done;
  if (depth_ == 0) {
    figure();
    return outcome_;
  }
  if (mapCount_ == 0) return Outcome::Done;
  visit(ComposedMap{}, 0, 1.0);
  return outcome_;
}

void SvgFigures::writeCovered() {
  QString path;
  int runStart = -1;
  int row = -1;
  int lastX = -2;
  const auto endRun = [&] {
    if (runStart >= 0) {
      path += QStringLiteral("M%1 %2h%3v1h-%3z").arg(runStart).arg(row).arg(lastX + 1 - runStart);
    }
  };
  const auto endRow = [&] {
    endRun();
    if (path.isEmpty()) return;
    if (xml_ == nullptr) {
      bytes_ += emptyElementChars("\n<path stroke=\"none\" fill=\"#000000\" d=\"\"/>") +
                double(path.size());
    } else {
      xml_->writeEmptyElement(QStringLiteral("path"));
      xml_->writeAttribute(QStringLiteral("stroke"), QStringLiteral("none"));
      xml_->writeAttribute(QStringLiteral("fill"), colourText(pen_));
      xml_->writeAttribute(QStringLiteral("d"), path);
    }
    path.clear();
  };
  covered_.forEachSet([&](int px, int py) {
    if (py != row) {
      endRow();
      runStart = px;
      row = py;
    } else if (px != lastX + 1) {
      endRun();
      runStart = px;
    }
    lastX = px;
  });
  endRow();
}

// The node whose composed map of the `chosen` maps applied last is w: every figure below it
// lies in w's image of the bounds of the remaining depth. `share` is its part of all figures.
bool SvgFigures::visit(const ComposedMap& w, int chosen, double share) {
  const int remaining = depth_ - chosen;
  if (remaining == 0) return figure() && finished(share);
  if (bounds_.contractive && tiny(w, remaining)) return finished(share);
  for (int j = 1; j <= mapCount_; ++j) {
    sequence_[std::size_t(remaining - 1)] = j;
    if (!visit(w.after(maps_[std::size_t(j)]), chosen + 1, share / mapCount_)) return false;
  }
  return true;
}

// Counts a finished part; every so often reports and looks at the cancel flag.
bool SvgFigures::finished(double share) {
  done_ += share;
  if (++visited_ % kFigureCheck != 0) return true;
  control_.report(done_);
  if (!control_.cancelled()) return true;
  outcome_ = Outcome::Cancelled;
  return false;
}

// Whether the bounds of the remaining depth, mapped by w, are smaller than the smallest
// figure; their pixels are then marked covered.
bool SvgFigures::tiny(const ComposedMap& w, int remaining) {
  const FigurePoint centre = bounds_.boxCentre[std::size_t(remaining)];
  const FigurePoint half = bounds_.boxHalf[std::size_t(remaining)];
  const double hx = half.x + bounds_.margin;
  const double hy = half.y + bounds_.margin;
  const std::array<FigurePoint, 4> corners = {{{centre.x - hx, centre.y - hy},
                                               {centre.x + hx, centre.y - hy},
                                               {centre.x - hx, centre.y + hy},
                                               {centre.x + hx, centre.y + hy}}};
  std::array<FigurePoint, 4> mapped{};
  for (std::size_t i = 0; i < 4; ++i) mapped[i] = w.apply(corners[i]);
  return cover(mapped);
}

// When the box around `points` is smaller than the smallest figure, marks the pixels it
// touches and returns true. A coordinate that is not finite is never covered.
bool SvgFigures::cover(std::span<const FigurePoint> points) {
  double left = INFINITY;
  double right = -INFINITY;
  double top = INFINITY;
  double bottom = -INFINITY;
  for (const FigurePoint& p : points) {
    left = std::min(left, x(p));
    right = std::max(right, x(p));
    top = std::min(top, y(p));
    bottom = std::max(bottom, y(p));
  }
  if (!(right - left < smallest_ && bottom - top < smallest_)) return false;
  const double lowX = std::max(std::floor(left), 0.0);
  const double highX = std::min(std::floor(right), double(width_ - 1));
  const double lowY = std::max(std::floor(top), 0.0);
  const double highY = std::min(std::floor(bottom), double(height_ - 1));
  for (double py = lowY; py <= highY; ++py) {
    for (double px = lowX; px <= highX; ++px) {
      BitPlane::set(covered_.words(), covered_.wordsPerRow(), int(px), int(py));
    }
  }
  return true;
}

// The figure of the maps in sequence_[0 … depth − 1], the first applied first, computed as
// the recursion computes it; drawn as a polygon, or covered when smaller than the smallest.
// False when counting stops at it.
bool SvgFigures::figure() {
  std::vector<FigurePoint>& points = scratch_;
  points = base_;
  for (int i = 0; i < depth_; ++i) {
    const ScaledMap& map = maps_[std::size_t(sequence_[std::size_t(i)])];
    for (FigurePoint& p : points) p = map.apply(p);
  }
  if (depth_ > 0 && cover(points)) return true;
  const std::size_t corners = square_ ? 4 : 3;
  static constexpr std::array<std::size_t, 4> kSquareOrder = {0, 1, 3, 2};  // 1 → 2 → 4 → 3
  std::array<FigurePoint, 4> outlinePoints{};
  for (std::size_t i = 0; i < corners; ++i) {
    outlinePoints[i] = points[square_ ? kSquareOrder[i] : i];
  }
  const std::span<const FigurePoint> outline(outlinePoints.data(), corners);
  const std::span<const FigurePoint> mark =
      square_ ? std::span<const FigurePoint>(points).subspan(4, 3) : std::span<FigurePoint>();
  if (xml_ == nullptr) return counted(outline, mark);

  xml_->writeEmptyElement(QStringLiteral("polygon"));
  xml_->writeAttribute(QStringLiteral("points"), pointsText(outline));
  if (!square_) return true;
  if (numbered_ && depth_ > 0) {
    xml_->writeStartElement(QStringLiteral("text"));
    xml_->writeAttribute(QStringLiteral("fill"), QStringLiteral("#000000"));  // as the canvas
    xml_->writeAttribute(QStringLiteral("stroke"), QStringLiteral("none"));
    xml_->writeAttribute(QStringLiteral("x"), number(x(mark[0])));
    xml_->writeAttribute(QStringLiteral("y"), number(y(mark[0]) + kNumberPixels * kAscentShare));
    xml_->writeCharacters(QString::number(sequence_[std::size_t(depth_ - 1)]));
    xml_->writeEndElement();
  }
  xml_->writeEmptyElement(QStringLiteral("polyline"));
  xml_->writeAttribute(QStringLiteral("points"), pointsText(mark));
  return true;
}

// Adds the longest bytes the figure's elements can take; false, with the outcome saying why,
// at a coordinate that is not finite or once the bytes pass the most allowed.
bool SvgFigures::counted(std::span<const FigurePoint> outline, std::span<const FigurePoint> mark) {
  for (const std::span<const FigurePoint> part : {outline, mark}) {
    for (const FigurePoint& p : part) {
      if (!std::isfinite(x(p)) || !std::isfinite(y(p))) {
        outcome_ = Outcome::NotFinite;
        return false;
      }
    }
  }
  bytes_ += emptyElementChars("\n<polygon points=\"\"/>") + pointsChars(outline.size());
  if (!mark.empty()) {
    bytes_ += emptyElementChars("\n<polyline points=\"\"/>") + pointsChars(mark.size());
    if (numbered_ && depth_ > 0) {
      bytes_ +=
          emptyElementChars("\n<text fill=\"#000000\" stroke=\"none\" x=\"\" y=\"\"></text>") +
          2 * kNumberChars + kMapNumberChars;
    }
  }
  if (bytes_ <= mostBytes_) return true;
  outcome_ = Outcome::TooLarge;
  return false;
}

QString SvgFigures::pointsText(std::span<const FigurePoint> points) const {
  QString text;
  for (const FigurePoint& p : points) {
    if (!text.isEmpty()) text += QLatin1Char(' ');
    text += number(x(p)) + QLatin1Char(',') + number(y(p));
  }
  return text;
}

double SvgFigures::x(FigurePoint p) const { return double(view_.canvasX(p.x)) / kTwipsPerPixel; }
double SvgFigures::y(FigurePoint p) const { return double(view_.canvasY(p.y)) / kTwipsPerPixel; }

}  // namespace quill
