#pragma once

#include "core/picture/picture.h"

namespace quill {

// Blue Print or Fractal as SVG at the request's size, streamed into the file atomically: the
// paper, the dashed frame, each figure a polygon in the canvas's pixel coordinates (the square
// figure's "L" mark a polyline), the blue print's map numbers as text. Groups of figures whose
// bounds are smaller than request.svgSmallestFigure pixels are drawn as the pixels they cover,
// joined into runs, so a deep drawing stays a file of about the picture's size.
Status writeSvgPicture(const PictureInputs& inputs, const PictureRequest& request,
                       const RenderControl& control, const QString& path);

}  // namespace quill
