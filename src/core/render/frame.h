#pragma once

#include "core/maps/module1.h"
#include "core/render/surface.h"

namespace quill {

// The dashed outline of the drawing square, always black: top left → top right → bottom right →
// bottom left → top left, then back to solid lines. Nothing is cleared: it lies over the picture.
template <DrawingSurface Surface>
void DrawFrame(Surface& surface, const Module1& module1) {
  const double left = module1.originX;
  const double top = module1.marginY;
  const double right = module1.viewScale + module1.originX;
  const double bottom = module1.viewScale + module1.marginY;
  surface.setDrawStyle(DrawStyle::Dashed);
  surface.line(float(left), float(top), float(right), float(top), kBlack);
  surface.lineTo(float(right), float(bottom), kBlack);
  surface.lineTo(float(left), float(bottom), kBlack);
  surface.lineTo(float(left), float(top), kBlack);
  surface.setDrawStyle(DrawStyle::Solid);
}

}  // namespace quill
