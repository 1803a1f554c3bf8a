#pragma once

#include "core/render/figure_recursion.h"

namespace quill {

// The triangle figure of one level; the base triangle has corners (0, 0), (side, 0) and
// (side / 2, side).
struct TriangleFigure {
  std::array<FigurePoint, 3> corner;
};

// The base triangle of a drawing square of side `side` (twips).
inline TriangleFigure baseTriangle(double side) {
  return {{{{0, 0}, {side, 0}, {side * 0.5, side}}}};
}

template <DrawingSurface Surface>
using TriangleRecursion = FigureRecursion<Surface, TriangleFigure>;

template <DrawingSurface Surface>
void triangleStep(TriangleRecursion<Surface>& run, int mapIndex);

// Maps the triangle one level up by map `mapIndex` into the current level, then goes on below it.
template <DrawingSurface Surface>
void mapTriangleFigure(TriangleRecursion<Surface>& run, int mapIndex) {
  const ScaledMap& map = run.maps[mapIndex];
  const TriangleFigure& above = run.levels[run.level + 1];
  TriangleFigure& here = run.levels[run.level];
  for (int i = 0; i < 3; ++i) here.corner[i] = map.apply(above.corner[i]);
  triangleStep(run, mapIndex);
}

// One level of the triangle recursion; at the bottom draws the triangle of level 1 in penColor,
// corner 1 → 2 → 3 → 1. mapIndex is passed along only.
template <DrawingSurface Surface>
void triangleStep(TriangleRecursion<Surface>& run, [[maybe_unused]] int mapIndex) {
  if (run.depth == 0 || run.level <= 1) {
    Surface& surface = run.surface;
    const View& view = run.view;
    const Rgb pen = run.drawing.penColor;
    const auto& c = run.levels[1].corner;
    surface.line(view.canvasX(c[0].x), view.canvasY(c[0].y), view.canvasX(c[1].x),
                 view.canvasY(c[1].y), pen);
    surface.lineTo(view.canvasX(c[2].x), view.canvasY(c[2].y), pen);
    surface.lineTo(view.canvasX(c[0].x), view.canvasY(c[0].y), pen);
    run.figureDrawn();
    return;
  }
  run.eachMapBelow([](TriangleRecursion<Surface>& r, int i) { mapTriangleFigure(r, i); });
}

// Draws the triangle under every sequence of iterationCount maps, in the order and composition
// of drawSquareFigure. Returns false when cancelled (what was drawn stays). A depth outside 0 to
// 21 draws nothing.
template <DrawingSurface Surface>
bool drawTriangleFigure(Surface& surface, DrawingState& drawing, const RenderControl& control) {
  TriangleRecursion<Surface> run(surface, drawing, control);
  return run.drawFrom(baseTriangle(drawing.square.viewScale),
                      [](TriangleRecursion<Surface>& r, int i) { triangleStep(r, i); });
}

}  // namespace quill
