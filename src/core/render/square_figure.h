#pragma once

#include <QString>

#include "core/render/figure_recursion.h"

namespace quill {

// The square figure of one level: the square's corners (1 top left, 2 top right, 3 bottom left,
// 4 bottom right of the base) and the three points of the "L" that shows how a map turns and
// mirrors the square.
struct SquareFigure {
  std::array<FigurePoint, 4> corner;
  std::array<FigurePoint, 3> mark;
};

// The base square figure of a drawing square of side `side` (twips).
inline SquareFigure baseSquareFigure(double side) {
  SquareFigure base;
  base.corner = {{{0, side}, {side, side}, {0, 0}, {side, 0}}};
  base.mark[0] = {side * 0.1, side * 0.9};
  base.mark[1] = {base.mark[0].x, base.mark[0].y - side * 0.3};
  base.mark[2] = {side * 0.05 + base.mark[1].x, base.mark[1].y};
  return base;
}

template <DrawingSurface Surface>
using SquareRecursion = FigureRecursion<Surface, SquareFigure>;

template <DrawingSurface Surface>
void squareStep(SquareRecursion<Surface>& run, int mapIndex);

// Maps the figure one level up by map `mapIndex` into the current level, then goes on below it.
template <DrawingSurface Surface>
void mapSquareFigure(SquareRecursion<Surface>& run, int mapIndex) {
  const ScaledMap& map = run.maps[mapIndex];
  const SquareFigure& above = run.levels[run.level + 1];
  SquareFigure& here = run.levels[run.level];
  for (int i = 0; i < 4; ++i) here.corner[i] = map.apply(above.corner[i]);
  for (int i = 0; i < 3; ++i) here.mark[i] = map.apply(above.mark[i]);
  squareStep(run, mapIndex);
}

// Draws the figure of level 1 in penColor: the outline 1 → 2 → 4 → 3 → 1, in the blue print the
// number of the map applied last at the mark's first point, then the mark.
template <DrawingSurface Surface>
void drawSquareOfLevelOne(SquareRecursion<Surface>& run, int mapIndex, bool numbered) {
  Surface& surface = run.surface;
  const View& view = run.view;
  const Rgb pen = run.drawing.penColor;
  const SquareFigure& figure = run.levels[1];
  const auto& c = figure.corner;
  const auto& m = figure.mark;
  surface.line(view.canvasX(c[0].x), view.canvasY(c[0].y), view.canvasX(c[1].x),
               view.canvasY(c[1].y), pen);
  surface.lineTo(view.canvasX(c[3].x), view.canvasY(c[3].y), pen);
  surface.lineTo(view.canvasX(c[2].x), view.canvasY(c[2].y), pen);
  surface.lineTo(view.canvasX(c[0].x), view.canvasY(c[0].y), pen);
  if (numbered && run.drawing.labelImages) {
    surface.setCurrentX(view.canvasX(m[0].x));
    surface.setCurrentY(view.canvasY(m[0].y));
    if (mapIndex >= 1 && mapIndex <= kMaxMaps) surface.print(QString::number(mapIndex));
  }
  surface.line(view.canvasX(m[0].x), view.canvasY(m[0].y), view.canvasX(m[1].x),
               view.canvasY(m[1].y), pen);
  surface.lineTo(view.canvasX(m[2].x), view.canvasY(m[2].y), pen);
  run.figureDrawn();
}

// One level of the square recursion. mapIndex is the map that made the figure of this level
// (0 for the base figure).
template <DrawingSurface Surface>
void squareStep(SquareRecursion<Surface>& run, int mapIndex) {
  if (run.depth == 0) {
    drawSquareOfLevelOne(run, mapIndex, false);  // the base figure itself, never numbered
    return;
  }
  if (run.level > 1) {
    run.eachMapBelow([](SquareRecursion<Surface>& r, int i) { mapSquareFigure(r, i); });
    return;
  }
  drawSquareOfLevelOne(run, mapIndex, true);
}

// Draws the square figure under every sequence of iterationCount maps, in lexicographic order
// with the first map varying slowest; each figure is the base mapped by the first map of its
// sequence first. With labelImages each figure carries the number of the map applied last.
// Returns false when cancelled (what was drawn stays). A depth outside 0 to 21 draws nothing.
template <DrawingSurface Surface>
bool drawSquareFigure(Surface& surface, DrawingState& drawing, const RenderControl& control) {
  SquareRecursion<Surface> run(surface, drawing, control);
  return run.drawFrom(baseSquareFigure(drawing.square.viewScale),
                      [](SquareRecursion<Surface>& r, int i) { squareStep(r, i); });
}

}  // namespace quill
