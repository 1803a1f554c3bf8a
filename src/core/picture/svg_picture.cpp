#include "core/picture/svg_picture.h"

#include <QXmlStreamWriter>
#include <algorithm>
#include <cmath>
#include <span>
#include <vector>

#include "core/picture/shaded_picture.h"
#include "core/render/bit_plane.h"
#include "core/render/figure_bounds.h"
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

QString colourText(Rgb colour) {
  return QStringLiteral("#%1").arg(colour & 0xFFFFFF, 6, 16, QLatin1Char('0'));
}

QString number(double v) { return QString::number(v, 'g', 8); }

class SvgFigures {
 public:
  SvgFigures(QXmlStreamWriter& xml, const Module1& module1, bool square, bool numbered,
             const PictureRequest& request, const RenderControl& control)
      : xml_(xml),
        view_(View::of(module1)),
        maps_(scaledMaps(module1.maps, module1.viewScale)),
        mapCount_(std::clamp(module1.maps.mapCount, 0, kMaxMaps)),
        depth_(module1.iterationCount),
        square_(square),
        numbered_(numbered),
        smallest_(request.svgSmallestFigure),
        control_(control),
        pen_(request.pen),
        covered_(request.width, request.height),
        width_(request.width),
        height_(request.height) {
    const SquareFigure squareBase = baseSquareFigure(module1.viewScale);
    if (square) {
      base_.assign(squareBase.corner.begin(), squareBase.corner.end());
      base_.insert(base_.end(), squareBase.mark.begin(), squareBase.mark.end());
    } else {
      const TriangleFigure triangle = baseTriangle(module1.viewScale);
      base_.assign(triangle.corner.begin(), triangle.corner.end());
    }
    if (mapCount_ > 0) {
      bounds_ = figureBounds(std::span(maps_).subspan(1, std::size_t(mapCount_)), base_);
    }
  }

  // Draws every figure; false when cancelled.
  bool draw() {
    if (depth_ < 0 || depth_ > kMaxFigureDepth) return true;
    if (depth_ == 0) {
      figure();
      return true;
    }
    if (mapCount_ == 0) return true;
    return visit(ComposedMap{}, 0, 1.0);
  }

  // The pixels of the figures too small to draw, as runs along each row: a path a row, so that
  // no more than a row is held.
  void writeCovered() {
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
      xml_.writeEmptyElement(QStringLiteral("path"));
      xml_.writeAttribute(QStringLiteral("stroke"), QStringLiteral("none"));
      xml_.writeAttribute(QStringLiteral("fill"), colourText(pen_));
      xml_.writeAttribute(QStringLiteral("d"), path);
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

 private:
  // The node whose composed map of the `chosen` maps applied last is w: every figure below it
  // lies in w's image of the bounds of the remaining depth. `share` is its part of all figures.
  bool visit(const ComposedMap& w, int chosen, double share) {
    const int remaining = depth_ - chosen;
    if (remaining == 0) {
      figure();
      return finished(share);
    }
    if (bounds_.contractive && tiny(w, remaining)) return finished(share);
    for (int j = 1; j <= mapCount_; ++j) {
      sequence_[std::size_t(remaining - 1)] = j;
      if (!visit(w.after(maps_[std::size_t(j)]), chosen + 1, share / mapCount_)) return false;
    }
    return true;
  }

  // Counts a finished part; every so often reports and looks at the cancel flag.
  bool finished(double share) {
    done_ += share;
    if (++visited_ % kFigureCheck != 0) return true;
    control_.report(done_);
    return !control_.cancelled();
  }

  // Whether the bounds of the remaining depth, mapped by w, are smaller than the smallest
  // figure; their pixels are then marked covered.
  bool tiny(const ComposedMap& w, int remaining) {
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
  // touches and returns true.
  bool cover(std::span<const FigurePoint> points) {
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
  void figure() {
    std::vector<FigurePoint>& points = scratch_;
    points = base_;
    for (int i = 0; i < depth_; ++i) {
      const ScaledMap& map = maps_[std::size_t(sequence_[std::size_t(i)])];
      for (FigurePoint& p : points) p = map.apply(p);
    }
    if (depth_ > 0 && cover(points)) return;
    const std::size_t corners = square_ ? 4 : 3;
    static constexpr std::array<std::size_t, 4> kSquareOrder = {0, 1, 3, 2};  // 1 → 2 → 4 → 3
    std::vector<FigurePoint> outline;
    for (std::size_t i = 0; i < corners; ++i) {
      outline.push_back(points[square_ ? kSquareOrder[i] : i]);
    }
    xml_.writeEmptyElement(QStringLiteral("polygon"));
    xml_.writeAttribute(QStringLiteral("points"), pointsText(outline));
    if (!square_) return;
    if (numbered_ && depth_ > 0) {
      xml_.writeStartElement(QStringLiteral("text"));
      xml_.writeAttribute(QStringLiteral("fill"), QStringLiteral("#000000"));  // as the canvas
      xml_.writeAttribute(QStringLiteral("stroke"), QStringLiteral("none"));
      xml_.writeAttribute(QStringLiteral("x"), number(x(points[4])));
      xml_.writeAttribute(QStringLiteral("y"), number(y(points[4]) + kNumberPixels * kAscentShare));
      xml_.writeCharacters(QString::number(sequence_[std::size_t(depth_ - 1)]));
      xml_.writeEndElement();
    }
    xml_.writeEmptyElement(QStringLiteral("polyline"));
    xml_.writeAttribute(QStringLiteral("points"), pointsText(std::span(points).subspan(4, 3)));
  }

  QString pointsText(std::span<const FigurePoint> points) const {
    QString text;
    for (const FigurePoint& p : points) {
      if (!text.isEmpty()) text += QLatin1Char(' ');
      text += number(x(p)) + QLatin1Char(',') + number(y(p));
    }
    return text;
  }

  double x(FigurePoint p) const { return double(view_.canvasX(p.x)) / kTwipsPerPixel; }
  double y(FigurePoint p) const { return double(view_.canvasY(p.y)) / kTwipsPerPixel; }

  QXmlStreamWriter& xml_;
  const View view_;
  const std::array<ScaledMap, kMapSlots> maps_;
  const int mapCount_;
  const int depth_;
  const bool square_;
  const bool numbered_;
  const double smallest_;
  const RenderControl& control_;
  const Rgb pen_;
  BitPlane covered_;
  const int width_;
  const int height_;
  std::vector<FigurePoint> base_;
  std::vector<FigurePoint> scratch_;
  FigureBounds bounds_;
  std::array<int, kFigureLevels> sequence_{};  // the maps of the figure, first applied first
  double done_ = 0;
  std::int64_t visited_ = 0;
};

}  // namespace

Status writeSvgPicture(const PictureInputs& inputs, const PictureRequest& request,
                       const RenderControl& control, const QString& path) {
  const Module1 module1 = pictureState(inputs, request, request.width, request.height);
  const bool blueprint = inputs.drawing == Drawing::BluePrint;
  const bool square = inputs.drawing != Drawing::TriangleFractal;
  const auto writeSvg = [&](QIODevice& device) -> Status {
    QXmlStreamWriter xml(&device);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(0);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("svg"));
    xml.writeDefaultNamespace(QStringLiteral("http://www.w3.org/2000/svg"));
    xml.writeAttribute(QStringLiteral("width"), QString::number(request.width));
    xml.writeAttribute(QStringLiteral("height"), QString::number(request.height));
    xml.writeAttribute(QStringLiteral("viewBox"),
                       QStringLiteral("0 0 %1 %2").arg(request.width).arg(request.height));
    xml.writeEmptyElement(QStringLiteral("rect"));
    xml.writeAttribute(QStringLiteral("width"), QStringLiteral("100%"));
    xml.writeAttribute(QStringLiteral("height"), QStringLiteral("100%"));
    xml.writeAttribute(QStringLiteral("fill"), colourText(request.paper));

    // The frame: the drawing square's outline, dashed 8 on and 4 off as on the canvas, black.
    const double left = module1.originX / kTwipsPerPixel;
    const double top = module1.marginY / kTwipsPerPixel;
    const double right = (module1.viewScale + module1.originX) / kTwipsPerPixel;
    const double bottom = (module1.viewScale + module1.marginY) / kTwipsPerPixel;
    xml.writeEmptyElement(QStringLiteral("polygon"));
    xml.writeAttribute(QStringLiteral("class"), QStringLiteral("frame"));
    xml.writeAttribute(QStringLiteral("points"),
                       QStringLiteral("%1,%2 %3,%2 %3,%4 %1,%4")
                           .arg(number(left), number(top), number(right), number(bottom)));
    xml.writeAttribute(QStringLiteral("fill"), QStringLiteral("none"));
    xml.writeAttribute(QStringLiteral("stroke"), QStringLiteral("#000000"));
    xml.writeAttribute(QStringLiteral("stroke-dasharray"), QStringLiteral("8 4"));

    xml.writeStartElement(QStringLiteral("g"));
    xml.writeAttribute(QStringLiteral("fill"), QStringLiteral("none"));
    xml.writeAttribute(QStringLiteral("stroke"), colourText(request.pen));
    xml.writeAttribute(QStringLiteral("stroke-width"), QStringLiteral("1"));
    xml.writeAttribute(QStringLiteral("font-family"), QStringLiteral("sans-serif"));
    xml.writeAttribute(QStringLiteral("font-weight"), QStringLiteral("bold"));
    xml.writeAttribute(QStringLiteral("font-size"), number(kNumberPixels));
    SvgFigures figures(xml, module1, square, blueprint, request, control);
    if (!figures.draw()) return Failure{kPictureCancelledMessage};
    figures.writeCovered();
    xml.writeEndElement();
    xml.writeEndDocument();
    if (xml.hasError()) return Failure{kRenderedPictureMessages.other};
    control.report(1);
    return {};
  };
  return writeFileStreaming(path, kRenderedPictureMessages, writeSvg, control.cancel);
}

}  // namespace quill
