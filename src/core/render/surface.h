#pragma once

#include <QString>
#include <concepts>

#include "core/base/color.h"
#include "core/canvas/canvas.h"

namespace quill {

// What the renderers draw on: the canvas's drawing calls, in twips. The renderers are templates
// over it, so the canvas's calls inline into the hot loops, while tests pass a surface that
// records every call.
template <class S>
concept DrawingSurface = requires(S surface, float v, Rgb color, DrawStyle style,
                                  const QString& text) {
  surface.line(v, v, v, v, color);  // the current position becomes the second point
  surface.lineTo(v, v, color);      // from the current position
  surface.pset(v, v, color);        // the current position becomes the point
  surface.setDrawStyle(style);
  surface.setCurrentX(v);
  surface.setCurrentY(v);
  surface.print(text);  // top-left corner at the current position
};

static_assert(DrawingSurface<Canvas>);

}  // namespace quill
