#include "core/render/fast_fractal.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "core/base/task_pool.h"
#include "core/canvas/canvas.h"
#include "core/render/affine_map.h"
#include "core/render/canvas_ink.h"
#include "core/render/figure_bounds.h"
#include "core/render/square_figure.h"
#include "core/render/triangle_figure.h"
#include "core/render/view.h"

namespace quill {

namespace {

// Why pruning changes no pixel, and why each tolerance here suffices: docs/exact_fractal.md.

// A node whose box covers at most this many pixels each way, all of them already in the pen
// colour, cannot change the picture. Two each way is the least that helps where pieces straddle
// a pixel's edge; four cuts heavily overlapping maps a little more, at a few loads per node.
constexpr int kPaintedSide = 4;
// Within this many pixels each way, a line that is not clipped plots only its ends' pixels.
constexpr int kEndsOnlySide = 2;
// How far, as a share of its coordinates in pixel space (plus one), a box may lie off the picture
// and still be drawn: clipping moves a line's ends by a few units in the last place.
constexpr double kClipAllowance = 1e-9;
// How far, as a share of its size, rounding to single precision (2^-24) and the double roundings
// around it can move a coordinate in twips: four times over.
constexpr double kSingleRoundingShare = 0x1p-22;
// A map whose stretches' geometric mean is at least this share of the larger stretch (so the
// smaller is at least nearly as much) carries its parent's reach down to its children.
constexpr double kConformalShare = 0.999;
// A drawing is split into at least this many tasks, and at least m^4, so that uneven subtrees
// still spread over the threads.
constexpr std::int64_t kLeastTasks = 256;

// Nodes or figures a walker handles between two looks at the cancel flag: a few microseconds.
constexpr std::uint32_t kCancelCheckEvery = 1024;

// The figures as lists of points and of the lines between them, each line in the direction the
// recursion draws it (Bresenham may break ties differently the other way round).
struct TriangleShape {
  static constexpr int kPoints = 3;
  static constexpr std::array<std::array<int, 2>, 3> kLines{{{0, 1}, {1, 2}, {2, 0}}};
  static std::array<FigurePoint, kPoints> base(double side) { return baseTriangle(side).corner; }
};

// Corners 0 to 3, then the mark's three points.
struct SquareShape {
  static constexpr int kPoints = 7;
  static constexpr std::array<std::array<int, 2>, 6> kLines{
      {{0, 1}, {1, 3}, {3, 2}, {2, 0}, {4, 5}, {5, 6}}};
  static std::array<FigurePoint, kPoints> base(double side) {
    const SquareFigure figure = baseSquareFigure(side);
    return {figure.corner[0], figure.corner[1], figure.corner[2], figure.corner[3],
            figure.mark[0],   figure.mark[1],   figure.mark[2]};
  }
};

template <class Shape>
using Points = std::array<FigurePoint, Shape::kPoints>;

template <class Shape>
void applyTo(const ScaledMap& map, Points<Shape>& points) {
  for (FigurePoint& p : points) p = map.apply(p);
}

// A node of the grouped recursion: the composed map of the maps applied last.
using Node = ComposedMap;

// Upper bounds on the lengths of the rows of a node's map in the bounds' shaped coordinates,
// |row(W·shape)|, which give the reach of the node's image of a level's ellipse. A child by a map
// that only turns and scales there takes its parent's times the map's stretch,
// |v·B| ≤ |v|·stretch(B), equal for such maps, and needs no square root; a child by another map
// has its own computed, as a bound carried down would loosen level by level.
struct RowLengths {
  double x = 0;
  double y = 0;

  static RowLengths of(const Linear& a, const Linear& shape) {
    const Linear s = a * shape;
    return {std::sqrt(s.a11 * s.a11 + s.a12 * s.a12) * (1 + kRoundUpShare),
            std::sqrt(s.a21 * s.a21 + s.a22 * s.a22) * (1 + kRoundUpShare)};
  }
  RowLengths times(double stretch) const { return {x * stretch, y * stretch}; }
};

// A node's reach in pixels: Inside the picture, or at its Edge (clamped to it, lines may be
// clipped), or wholly Outside it (nothing to draw), or Unknown (not finite: no bound at all).
struct PixelBox {
  enum Kind : std::uint8_t { Unknown, Outside, Inside, Edge } kind;
  int left = 0;
  int right = 0;
  int top = 0;
  int bottom = 0;
};

// ⌊v⌋ for v clamped to [−1, limit], so it always fits an int.
int floorWithin(double v, int limit) {
  v = std::clamp(v, -1.0, double(limit));
  int t = int(v);
  if (double(t) > v) --t;
  return t;
}

// What every thread of one drawing reads and never writes.
template <class Shape>
struct FractalJob {
  const RenderControl& control;
  CanvasInk ink;
  View view;
  std::uint32_t pen;
  std::array<ScaledMap, kMapSlots> maps;
  int mapCount;
  int depth;
  int split;  // levels fixed by a task
  Points<Shape> base;
  bool pruning;
  FigureBounds bounds;
  std::array<int, kMapSlots> order{};       // the maps in the order children are visited
  std::array<double, kMapSlots> stretch{};  // each map's, in the bounds' shaped coordinates
  std::array<bool, kMapSlots> conformal{};  // the map only turns and scales there, near enough

  // Draws one figure as the canvas would draw its lines.
  void drawFigure(const Points<Shape>& points) const {
    std::array<double, Shape::kPoints> x;
    std::array<double, Shape::kPoints> y;
    for (int i = 0; i < Shape::kPoints; ++i) {
      x[i] = ink.toPixelSpace(view.canvasX(points[i].x));
      y[i] = ink.toPixelSpace(view.canvasY(points[i].y));
    }
    // Every point in one pixel of the picture: every line is that pixel alone.
    int px = 0;
    int py = 0;
    if (ink.pixelOf(x[0], y[0], px, py)) {
      bool onePixel = true;
      for (int i = 1; i < Shape::kPoints && onePixel; ++i) {
        int qx = 0;
        int qy = 0;
        onePixel = ink.pixelOf(x[i], y[i], qx, qy) && qx == px && qy == py;
      }
      if (onePixel) {
        paint(px, py);
        return;
      }
    }
    for (const auto& [from, to] : Shape::kLines)
      ink.drawSegment(x[from], y[from], x[to], y[to], pen);
  }

  void paint(int px, int py) const {
    if (!ink.holds(px, py, pen)) ink.plotShared(px, py, pen);
  }

  // The pixels the figures below `node` can reach, the figures of r maps under its map: the
  // overlap of the bounding boxes of its images of the level's ellipse and box, widened for
  // rounding and taken to pixels the way the canvas takes points.
  PixelBox boxOf(const Node& node, const RowLengths& rows, int r) const {
    const Linear& a = node.a;
    const FigurePoint e = node.apply(bounds.centre);
    const double ex = bounds.radius[r] * rows.x;
    const double ey = bounds.radius[r] * rows.y;
    const FigurePoint b = node.apply(bounds.boxCentre[r]);
    const FigurePoint half = bounds.boxHalf[r];
    const double bx = std::abs(a.a11) * half.x + std::abs(a.a12) * half.y;
    const double by = std::abs(a.a21) * half.x + std::abs(a.a22) * half.y;
    const double low = std::max(e.x - ex, b.x - bx) - bounds.margin;
    const double high = std::min(e.x + ex, b.x + bx) + bounds.margin;
    const double bottom = std::max(e.y - ey, b.y - by) - bounds.margin;
    const double top = std::min(e.y + ey, b.y + by) + bounds.margin;
    double x0 = 0;
    double x1 = 0;
    double y0 = 0;
    double y1 = 0;
    // Canvas y grows downwards: the box's top comes from the figures' highest point.
    toPixelSpace(view.originX + low, view.originX + high, x0, x1);
    toPixelSpace(view.originY - top, view.originY - bottom, y0, y1);
    if (!(std::isfinite(x0) && std::isfinite(x1) && std::isfinite(y0) && std::isfinite(y1))) {
      return {PixelBox::Unknown};
    }
    const int w = ink.width();
    const int h = ink.height();
    if (x0 >= 0 && x1 < w && y0 >= 0 && y1 < h) {
      // No line below is clipped: every end lands in its own pixel, between those of the box's
      // corners (rounding to single precision and dividing keep the order).
      return {PixelBox::Inside, int(x0), int(x1), int(y0), int(y1)};
    }
    // Clipping moves a line's ends by a few units in the last place of its coordinates; this
    // allowance is far above that and far below a pixel. Lines are clipped to the closed
    // rectangle [0, w] × [0, h], and ends on the far edges are drawn in the last column or row.
    const double sx = kClipAllowance * (1 + std::abs(x0) + std::abs(x1));
    const double sy = kClipAllowance * (1 + std::abs(y0) + std::abs(y1));
    if (x1 + sx < 0 || x0 - sx > w || y1 + sy < 0 || y0 - sy > h) return {PixelBox::Outside};
    return {PixelBox::Edge, std::max(floorWithin(x0 - sx, w), 0),
            std::min(floorWithin(x1 + sx, w), w - 1), std::max(floorWithin(y0 - sy, h), 0),
            std::min(floorWithin(y1 + sy, h), h - 1)};
  }

  // Paints the pixel of a box that lies in one pixel. Returns true when the figures below need no
  // look (painted here, off the picture, or unable to change a pixel), false when they do.
  bool paintOrSkip(const PixelBox& box, const Node& node, int r) const {
    switch (box.kind) {
      case PixelBox::Unknown:
        return false;
      case PixelBox::Outside:
        return true;
      case PixelBox::Inside:
        if (box.left == box.right && box.top == box.bottom) {
          paint(box.left, box.top);  // every line below is this pixel alone
          return true;
        }
        break;
      case PixelBox::Edge:
        break;
    }
    if (box.right - box.left >= kPaintedSide || box.bottom - box.top >= kPaintedSide) return false;
    // Within 2 × 2 pixels a line plots only its ends' pixels, and its ends lie in the node's
    // bounds, so a pixel the bounds stay clear of is never plotted. A longer line may plot
    // pixels beside the true segment, and a clipped one moves its ends: there only the box holds.
    const bool small = box.kind == PixelBox::Inside && box.right - box.left < kEndsOnlySide &&
                       box.bottom - box.top < kEndsOnlySide;
    for (int qy = box.top; qy <= box.bottom; ++qy) {
      for (int qx = box.left; qx <= box.right; ++qx) {
        if (!ink.holds(qx, qy, pen) && (!small || reaches(node, r, qx, qy))) return false;
      }
    }
    return true;  // nothing below can change these pixels
  }

  // Whether the figures below `node` may reach pixel (qx, qy): false when the parallelogram that
  // is the node's image of the level's box lies clear of the pixel, widened for the rounding to
  // single precision, along one of the parallelogram's sides.
  bool reaches(const Node& node, int r, int qx, int qy) const {
    const FigurePoint b = node.apply(bounds.boxCentre[r]);
    const FigurePoint half = bounds.boxHalf[r];
    const FigurePoint g1{node.a.a11 * half.x, node.a.a21 * half.x};
    const FigurePoint g2{node.a.a12 * half.y, node.a.a22 * half.y};
    const double tpp = ink.twipsPerPixel();
    const double left = qx * tpp - view.originX;
    const double bottom = view.originY - (qy + 1) * tpp;
    const double slackX =
        kSingleRoundingShare * ((qx + 1) * tpp + std::abs(view.originX) + 1) + bounds.margin;
    const double slackY =
        kSingleRoundingShare * ((qy + 1) * tpp + std::abs(view.originY) + 1) + bounds.margin;
    const FigurePoint rc{left + tpp / 2, bottom + tpp / 2};
    const FigurePoint rh{tpp / 2 + slackX, tpp / 2 + slackY};
    for (const FigurePoint& g : {g1, g2}) {
      const FigurePoint n{-g.y, g.x};
      const double reach = std::abs(n.x * g1.x + n.y * g1.y) + std::abs(n.x * g2.x + n.y * g2.y) +
                           std::abs(n.x) * rh.x + std::abs(n.y) * rh.y +
                           bounds.margin * (std::abs(n.x) + std::abs(n.y));
      if (std::abs(n.x * (b.x - rc.x) + n.y * (b.y - rc.y)) > reach * (1 + kRoundUpShare)) {
        return false;
      }
    }
    return true;
  }

  // Two points in twips, each rounded to single precision as the canvas takes it, to pixel
  // space.
  void toPixelSpace(double a, double b, double& pa, double& pb) const {
    pa = ink.toPixelSpace(float(a));
    pb = ink.toPixelSpace(float(b));
  }
};

// One thread's walk through its tasks. Its only memory is the sequence of maps on the way down
// and the recursion's frames, a few dozen bytes per level.
template <class Shape>
class Walker {
 public:
  explicit Walker(const FractalJob<Shape>& job) : job_(job) {}

  // The subtree of the sequences whose maps applied last are the task's digits.
  bool groupedTask(std::int64_t task) {
    fixDigits(task);
    Node node{};
    for (int level = 1; level <= job_.split; ++level) node = node.after(job_.maps[seq_[level]]);
    visit(job_.split, node, RowLengths::of(node.a, job_.bounds.shape));
    return !stopped_;
  }

  // The subtree of the sequences whose maps applied first are the task's digits, in the
  // recursion's own order of work.
  bool plainTask(std::int64_t task) {
    fixDigits(task);
    Points<Shape> figure = job_.base;
    for (int level = 1; level <= job_.split; ++level)
      applyTo<Shape>(job_.maps[seq_[level]], figure);
    descend(job_.split, figure);
    return !stopped_;
  }

 private:
  void fixDigits(std::int64_t task) {
    for (int level = job_.split; level >= 1; --level) {
      seq_[level] = int(task % job_.mapCount) + 1;
      task /= job_.mapCount;
    }
  }

  bool keepGoing() {
    if (++sinceCheck_ >= kCancelCheckEvery) {
      sinceCheck_ = 0;
      if (job_.control.cancelled()) stopped_ = true;
    }
    return !stopped_;
  }

  // seq_[1] is the map applied last, seq_[level] the one applied before seq_[1 .. level − 1].
  void visit(int level, const Node& node, const RowLengths& rows) {
    if (!job_.paintOrSkip(job_.boxOf(node, rows, job_.depth - level), node, job_.depth - level))
      open(level, node, rows);
  }

  // The figures below a node that needs a look.
  void open(int level, const Node& node, const RowLengths& rows) {
    if (!keepGoing()) return;
    if (level == job_.depth) {
      // The figure exactly as the recursion computes it: the map applied first, first.
      Points<Shape> figure = job_.base;
      for (int k = job_.depth; k >= 1; --k) applyTo<Shape>(job_.maps[seq_[k]], figure);
      job_.drawFigure(figure);
      return;
    }
    const int below = job_.depth - level - 1;  // maps left to apply below the children
    for (int i = 0; i < job_.mapCount && !stopped_; ++i) {
      const int j = job_.order[i];
      const Node child = node.after(job_.maps[j]);
      const RowLengths childRows = job_.conformal[std::size_t(j)]
                                       ? rows.times(job_.stretch[std::size_t(j)])
                                       : RowLengths::of(child.a, job_.bounds.shape);
      if (job_.paintOrSkip(job_.boxOf(child, childRows, below), child, below)) continue;
      seq_[level + 1] = j;
      open(level + 1, child, childRows);
    }
  }

  // Here seq_[level] is the map applied at level `level`, the first one at level 1.
  void descend(int level, const Points<Shape>& figure) {
    if (!keepGoing()) return;
    if (level == job_.depth) {
      job_.drawFigure(figure);
      return;
    }
    for (int j = 1; j <= job_.mapCount && !stopped_; ++j) {
      Points<Shape> below = figure;
      applyTo<Shape>(job_.maps[j], below);
      descend(level + 1, below);
    }
  }

  const FractalJob<Shape>& job_;
  std::array<int, kFigureLevels> seq_{};
  std::uint32_t sinceCheck_ = 0;
  bool stopped_ = false;
};

template <class Shape, class Reference>
bool drawFractalFast(Canvas& canvas, DrawingState& drawing, const RenderControl& control,
                     int threads, Reference reference) {
  const int depth = drawing.iterationCount;
  const int mapCount = std::clamp(drawing.maps.mapCount, 0, kMaxMaps);
  // The base figure alone, no maps, a depth the recursion refuses, or dashed lines: nothing to
  // gain, so the recursion itself draws.
  if (depth <= 0 || depth > kMaxFigureDepth || mapCount == 0 ||
      canvas.drawStyle() != DrawStyle::Solid) {
    return reference();
  }
  drawing.recursionLevel = depth + 1;
  if (control.cancelled()) return false;

  FractalJob<Shape> job{control,
                        CanvasInk(canvas),
                        View::of(drawing.square),
                        CanvasInk::inkOf(drawing.penColor),
                        scaledMaps(drawing.maps, drawing.square.viewScale),
                        mapCount,
                        depth,
                        0,
                        Shape::base(drawing.square.viewScale),
                        false,
                        {}};
  job.bounds = figureBounds(std::span(job.maps).subspan(1, std::size_t(mapCount)), job.base);
  job.pruning = job.bounds.contractive;
  // Children in order of falling area: the big pieces paint first, so that more of the small
  // ones find their pixels painted already. The order of visits changes no pixel.
  for (int j = 1; j <= mapCount; ++j) job.order[std::size_t(j - 1)] = j;
  auto area = [&job](int k) {
    const ScaledMap& w = job.maps[std::size_t(k)];
    return std::abs(w.a * w.d - w.b * w.c);
  };
  std::stable_sort(job.order.begin(), job.order.begin() + mapCount,
                   [&area](int p, int q) { return area(p) > area(q); });
  for (int j = 1; j <= mapCount; ++j) {
    const Linear b = job.bounds.back * linearPart(job.maps[std::size_t(j)]) * job.bounds.shape;
    job.stretch[std::size_t(j)] = stretchOf(b);
    // Any map could carry its parent's bound; only for these is it as tight as computing it.
    const double least = std::sqrt(std::abs(b.a11 * b.a22 - b.a12 * b.a21));
    job.conformal[std::size_t(j)] = least >= kConformalShare * job.stretch[std::size_t(j)];
  }
  std::int64_t tasks = 1;
  const std::int64_t m = mapCount;
  while (job.split < depth && (tasks < m * m * m * m || tasks < kLeastTasks)) {
    ++job.split;
    tasks *= m;
  }

  if (threads <= 0) threads = defaultDrawingThreads();
  const bool finished = runTasks(tasks, threads, control, [&job](std::int64_t task) {
    Walker<Shape> walker(job);
    return job.pruning ? walker.groupedTask(task) : walker.plainTask(task);
  });

  // The current position where the recursion's last line ends: the last point of the figure
  // under map m applied depth times.
  if (finished) {
    Points<Shape> last = job.base;
    for (int k = 0; k < depth; ++k) applyTo<Shape>(job.maps[mapCount], last);
    const FigurePoint end = last[Shape::kLines.back()[1]];
    canvas.setCurrentX(job.view.canvasX(end.x));
    canvas.setCurrentY(job.view.canvasY(end.y));
  }
  return finished;
}

}  // namespace

bool drawTriangleFigureFast(Canvas& canvas, DrawingState& drawing, const RenderControl& control,
                            int threads) {
  return drawFractalFast<TriangleShape>(canvas, drawing, control, threads, [&] {
    return drawTriangleFigure(canvas, drawing, control);
  });
}

bool drawSquareFigureFast(Canvas& canvas, DrawingState& drawing, const RenderControl& control,
                          int threads) {
  // Numbers are text between the figures: the blue print stays with the recursion.
  if (drawing.labelImages) return drawSquareFigure(canvas, drawing, control);
  return drawFractalFast<SquareShape>(canvas, drawing, control, threads,
                                      [&] { return drawSquareFigure(canvas, drawing, control); });
}

}  // namespace quill
