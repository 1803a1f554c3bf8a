#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "core/base/render_control.h"
#include "core/maps/drawing_state.h"
#include "core/render/affine_map.h"
#include "core/render/surface.h"
#include "core/render/view.h"

namespace quill {

// Levels of the figure recursions: the base figure sits at level depth + 1 and each step writes
// the level below, so depth 20 uses levels 1 to 21 of 0 to 22.
inline constexpr int kFigureLevels = 23;
inline constexpr int kMaxFigureDepth = kFigureLevels - 2;

// Drawn figures between two looks at the cancel flag (and two progress reports).
inline constexpr std::uint64_t kFigureBatch = 65536;

// What the square and triangle recursions share while one drawing runs: where they draw, the
// scaled maps, the level counter and the bookkeeping for cancel and progress. `Figure` is the
// record of one level; the records live in a fixed array, so a drawing allocates nothing.
template <DrawingSurface Surface, class Figure>
struct FigureRecursion {
  FigureRecursion(Surface& target, DrawingState& state, const RenderControl& renderControl)
      : surface(target),
        drawing(state),
        control(renderControl),
        view(View::of(state.square)),
        maps(scaledMaps(state.maps, state.square.viewScale)),
        mapCount(std::clamp(state.maps.mapCount, 0, kMaxMaps)),
        depth(state.iterationCount),
        level(startLevel(state.iterationCount)),
        totalFigures(std::pow(double(mapCount), double(state.iterationCount))) {}

  // Counts one drawn figure; at the end of each batch reports and looks at the cancel flag.
  void figureDrawn() {
    if (++figuresDrawn % kFigureBatch != 0) return;
    control.report(double(figuresDrawn) / totalFigures);
    if (control.cancelled()) stopped = true;
  }

  // Draws every figure from `base` at the start level, step(*this, 0) walking the levels down.
  // Returns false when cancelled (what was drawn stays). A depth outside 0 to kMaxFigureDepth
  // draws nothing.
  template <class Step>
  bool drawFrom(const Figure& base, Step step) {
    if (!depthFits()) return true;
    drawing.recursionLevel = level;
    levels[std::size_t(level)] = base;
    if (control.cancelled()) return false;
    step(*this, 0);
    drawing.recursionLevel = level;
    return !stopped;
  }

  // One level down: mapFigure(*this, i) makes the figure of the level below by each map i in
  // turn, until cancelled.
  template <class MapFigure>
  void eachMapBelow(MapFigure mapFigure) {
    level -= 1;
    for (int i = 1; i <= mapCount && !stopped; ++i) mapFigure(*this, i);
    level += 1;
  }

  bool depthFits() const { return fits(depth); }
  static bool fits(int count) { return count >= 0 && count <= kMaxFigureDepth; }
  // The base figure's level; 0 for a depth that draws nothing, where depth + 1 could overflow.
  static int startLevel(int count) { return fits(count) ? count + 1 : 0; }

  Surface& surface;
  DrawingState& drawing;
  const RenderControl& control;
  const View view;
  const std::array<ScaledMap, kMapSlots> maps;
  const int mapCount;
  const int depth;  // iterationCount
  int level;        // recursionLevel
  std::array<Figure, kFigureLevels> levels{};
  std::uint64_t figuresDrawn = 0;
  const double totalFigures;
  bool stopped = false;  // cancelled: every level unwinds without drawing more
};

}  // namespace quill
