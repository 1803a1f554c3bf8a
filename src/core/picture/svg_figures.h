#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "core/base/render_control.h"
#include "core/maps/drawing_state.h"
#include "core/picture/picture.h"
#include "core/render/bit_plane.h"
#include "core/render/figure_bounds.h"

class QXmlStreamWriter;

namespace quill {

// The figures of a Blue Print or Fractal as SVG elements: each figure a polygon in the canvas's
// pixel coordinates (the square figure's "L" mark a polyline), the blue print's map numbers as
// text. Groups of figures whose bounds are smaller than request.svgSmallestFigure pixels are drawn
// as the pixels they cover, joined into runs, so a deep drawing stays a file of about the
// picture's size.
//
// Without a writer the figures are only counted, exactly as they would be written: bytes() bounds
// the bytes they would take from above, and the walk stops at a coordinate that is not finite or
// once bytes() passes `mostBytes`.
class SvgFigures {
 public:
  enum class Outcome { Done, Cancelled, NotFinite, TooLarge };

  SvgFigures(QXmlStreamWriter* xml, const DrawingState& drawing, bool square, bool numbered,
             const PictureRequest& request, const RenderControl& control, double mostBytes = 0);

  // Writes (or counts) every figure of drawing.iterationCount maps.
  Outcome draw();
  // Writes (or counts) the pixels of the figures too small to draw, as runs along each row: a
  // path a row, so that no more than a row is held.
  void writeCovered();
  double bytes() const { return bytes_; }

 private:
  bool visit(const ComposedMap& w, int chosen, double share);
  bool finished(double share);
  bool tiny(const ComposedMap& w, int remaining);
  bool cover(std::span<const FigurePoint> points);
  bool figure();
  bool counted(std::span<const FigurePoint> outline, std::span<const FigurePoint> mark);
  QString pointsText(std::span<const FigurePoint> points) const;
  double x(FigurePoint p) const;
  double y(FigurePoint p) const;

  QXmlStreamWriter* const xml_;
  const View view_;
  const std::array<ScaledMap, kMapSlots> maps_;
  const int mapCount_;
  const int depth_;
  const bool square_;
  const bool numbered_;
  const double smallest_;
  const RenderControl control_;  // a copy: callers may pass a temporary
  const Rgb pen_;
  BitPlane covered_;
  const int width_;
  const int height_;
  const double mostBytes_;
  std::vector<FigurePoint> base_;
  std::vector<FigurePoint> scratch_;
  FigureBounds bounds_;
  std::array<int, kFigureLevels> sequence_{};  // the maps of the figure, first applied first
  double done_ = 0;
  std::int64_t visited_ = 0;
  double bytes_ = 0;
  Outcome outcome_ = Outcome::Done;
};

}  // namespace quill
