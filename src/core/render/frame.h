#pragma once

#include "core/maps/drawing_state.h"
#include "core/render/surface.h"

namespace quill {

// The dashed outline of the drawing square, always black: top left → top right → bottom right →
// bottom left → top left, then back to solid lines. Nothing is cleared: it lies over the picture.
template <DrawingSurface Surface>
void drawFrame(Surface& surface, const DrawingSquare& square) {
  const double left = square.originX;
  const double top = square.marginY;
  const double right = square.viewScale + square.originX;
  const double bottom = square.viewScale + square.marginY;
  surface.setDrawStyle(DrawStyle::Dashed);
  surface.line(float(left), float(top), float(right), float(top), kBlack);
  surface.lineTo(float(right), float(bottom), kBlack);
  surface.lineTo(float(left), float(bottom), kBlack);
  surface.lineTo(float(left), float(top), kBlack);
  surface.setDrawStyle(DrawStyle::Solid);
}

}  // namespace quill
