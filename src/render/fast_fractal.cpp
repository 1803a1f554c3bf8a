#include "render/fast_fractal.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "render/affine_map.h"
#include "render/canvas_ink.h"
#include "render/invariant_disc.h"
#include "render/square_figure.h"
#include "render/task_pool.h"
#include "render/triangle_figure.h"
#include "render/view.h"
#include "shell/canvas.h"

namespace quill {

namespace {

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

// A node of the grouped recursion: the linear part of the composed map of the maps applied last
// and the image of the disc's centre under it.
struct Node {
  double a11, a12, a21, a22;
  double cx, cy;
};

enum class Verdict { Open, Skip, Paint };

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
  InvariantDisc disc;
  std::array<FigurePoint, kMapSlots> centreShift{};  // w_j(c) − c

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

  Node compose(const Node& node, int j) const {
    const ScaledMap& w = maps[j];
    const FigurePoint& v = centreShift[j];
    return {node.a11 * w.a + node.a12 * w.c,
            node.a11 * w.b + node.a12 * w.d,
            node.a21 * w.a + node.a22 * w.c,
            node.a21 * w.b + node.a22 * w.d,
            node.cx + (node.a11 * v.x + node.a12 * v.y),
            node.cy + (node.a21 * v.x + node.a22 * v.y)};
  }

  // What the figures below `node` can paint, from the bounding box of the node's image of the
  // disc, widened for rounding and taken to pixels the way the canvas takes points.
  Verdict classify(const Node& node, int& px, int& py) const {
    const double hx =
        disc.radius * std::sqrt(node.a11 * node.a11 + node.a12 * node.a12) + disc.margin;
    const double hy =
        disc.radius * std::sqrt(node.a21 * node.a21 + node.a22 * node.a22) + disc.margin;
    const double x0 = ink.toPixelSpace(view.canvasX(node.cx - hx));
    const double x1 = ink.toPixelSpace(view.canvasX(node.cx + hx));
    const double y0 = ink.toPixelSpace(view.canvasY(node.cy + hy));  // canvas y runs downwards
    const double y1 = ink.toPixelSpace(view.canvasY(node.cy - hy));
    if (!(std::isfinite(x0) && std::isfinite(x1) && std::isfinite(y0) && std::isfinite(y1))) {
      return Verdict::Open;
    }
    // Clipping a line moves its ends by a few units in the last place of its coordinates; this
    // allowance is far above that and far below a pixel.
    const double ex = 1e-9 * (1 + std::abs(x0) + std::abs(x1));
    const double ey = 1e-9 * (1 + std::abs(y0) + std::abs(y1));
    const int w = ink.width();
    const int h = ink.height();
    // Lines are clipped to the closed rectangle [0, w] × [0, h].
    if (x1 + ex < 0 || x0 - ex > w || y1 + ey < 0 || y0 - ey > h) return Verdict::Skip;
    const int left = floorWithin(x0 - ex, w);
    const int right = floorWithin(x1 + ex, w);
    const int top = floorWithin(y0 - ey, h);
    const int bottom = floorWithin(y1 + ey, h);
    if (left == right && top == bottom && left >= 0 && left < w && top >= 0 && top < h) {
      px = left;
      py = top;
      return Verdict::Paint;
    }
    // Points on the far edges are drawn in the last column or row.
    const int x0c = std::max(left, 0);
    const int x1c = std::min(right, w - 1);
    const int y0c = std::max(top, 0);
    const int y1c = std::min(bottom, h - 1);
    if (x1c - x0c > 1 || y1c - y0c > 1) return Verdict::Open;
    for (int qy = y0c; qy <= y1c; ++qy) {
      for (int qx = x0c; qx <= x1c; ++qx) {
        if (!ink.holds(qx, qy, pen)) return Verdict::Open;
      }
    }
    return Verdict::Skip;
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
    Node node{1, 0, 0, 1, job_.disc.centre.x, job_.disc.centre.y};
    for (int level = 1; level <= job_.split; ++level) node = job_.compose(node, seq_[level]);
    visit(job_.split, node);
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
  void visit(int level, const Node& node) {
    if (!keepGoing()) return;
    int px = 0;
    int py = 0;
    switch (job_.classify(node, px, py)) {
      case Verdict::Skip:
        return;
      case Verdict::Paint:
        job_.paint(px, py);
        return;
      case Verdict::Open:
        break;
    }
    if (level == job_.depth) {
      // The figure exactly as the recursion computes it: the map applied first, first.
      Points<Shape> figure = job_.base;
      for (int k = job_.depth; k >= 1; --k) applyTo<Shape>(job_.maps[seq_[k]], figure);
      job_.drawFigure(figure);
      return;
    }
    for (int j = 1; j <= job_.mapCount && !stopped_; ++j) {
      seq_[level + 1] = j;
      visit(level + 1, job_.compose(node, j));
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
bool drawFractalFast(Canvas& canvas, Module1& module1, const RenderControl& control, int threads,
                     Reference reference) {
  const int depth = module1.iterationCount;
  const int mapCount = std::clamp(module1.maps.mapCount, 0, kMaxMaps);
  // The base figure alone, no maps, a depth the recursion refuses, or dashed lines: nothing to
  // gain, so the recursion itself draws.
  if (depth <= 0 || depth > kMaxFigureDepth || mapCount == 0 ||
      canvas.drawStyle() != DrawStyle::Solid) {
    return reference();
  }
  module1.recursionLevel = depth + 1;
  if (control.cancelled()) return false;

  FractalJob<Shape> job{control,
                        CanvasInk(canvas),
                        View::of(module1),
                        CanvasInk::inkOf(module1.penColor),
                        scaledMaps(module1.maps, module1.viewScale),
                        mapCount,
                        depth,
                        0,
                        Shape::base(module1.viewScale),
                        false,
                        {}};
  job.disc = invariantDisc(std::span(job.maps).subspan(1, std::size_t(mapCount)), job.base);
  job.pruning = job.disc.contractive;
  for (int j = 1; j <= mapCount; ++j) {
    const FigurePoint image = job.maps[j].apply(job.disc.centre);
    job.centreShift[j] = {image.x - job.disc.centre.x, image.y - job.disc.centre.y};
  }
  // At least m^4 tasks (and 256), so that uneven subtrees still spread over the threads.
  std::int64_t tasks = 1;
  const std::int64_t m = mapCount;
  while (job.split < depth && (tasks < m * m * m * m || tasks < 256)) {
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

bool drawTriangleFigureFast(Canvas& canvas, Module1& module1, const RenderControl& control,
                            int threads) {
  return drawFractalFast<TriangleShape>(canvas, module1, control, threads, [&] {
    return DrawTriangleFigure(canvas, module1, control);
  });
}

bool drawSquareFigureFast(Canvas& canvas, Module1& module1, const RenderControl& control,
                          int threads) {
  // Numbers are text between the figures: the blue print stays with the recursion.
  if (module1.labelImages) return DrawSquareFigure(canvas, module1, control);
  return drawFractalFast<SquareShape>(canvas, module1, control, threads,
                                      [&] { return DrawSquareFigure(canvas, module1, control); });
}

}  // namespace quill
