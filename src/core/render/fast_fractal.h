#pragma once

#include "core/base/render_control.h"
#include "core/maps/drawing_state.h"

namespace quill {

class Canvas;

// The deterministic fractal on a canvas, the very pixels of drawTriangleFigure and of
// drawSquareFigure without numbers, in time that grows with the picture rather than with the
// m^n figures, on `threads` threads (0: one per core).
//
// The figures are visited grouped by the maps applied last: all figures below a node lie in the
// node's composed map's image of bounds that hold every figure of the remaining depth (an
// ellipse and a box per depth; figure_bounds.h). A node whose image lies in one pixel
// paints that pixel (every figure below would paint exactly it), one wholly off the canvas is
// skipped, and one whose few pixels already hold the pen colour, or lie clear of it, is
// skipped. A figure that is drawn is computed as the recursion computes it: the base mapped by
// its first map first, so its points round the same way. When no coordinates make every map
// shrink, nothing is pruned and every figure is drawn, still spread over the threads.
//
// Why this changes no pixel, whatever the threads' interleaving: docs/exact_fractal.md.
//
// Leaves recursionLevel at iterationCount + 1 as the recursion does, and the canvas's current
// position where the last figure's last line ends. Returns false when cancelled, checked often
// enough that every thread stops within milliseconds; what was drawn stays.
bool drawTriangleFigureFast(Canvas& canvas, DrawingState& drawing, const RenderControl& control,
                            int threads = 0);
bool drawSquareFigureFast(Canvas& canvas, DrawingState& drawing, const RenderControl& control,
                          int threads = 0);

}  // namespace quill
