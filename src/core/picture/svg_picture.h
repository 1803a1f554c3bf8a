#pragma once

#include "core/picture/picture.h"

namespace quill {

// The largest SVG file written: larger ones are more than a viewer can open.
inline constexpr std::int64_t kMaxSvgBytes = std::int64_t{256} << 20;

// Blue Print or Fractal as SVG at the request's size, streamed into the file atomically: the
// paper, the dashed frame, and the figures as SvgFigures writes them. The figures are counted
// first, and nothing is written when a coordinate would not be a finite number, or the file would
// pass kMaxSvgBytes: the message then names the largest depth that can be written.
Status writeSvgPicture(const PictureInputs& inputs, const PictureRequest& request,
                       const RenderControl& control, const QString& path);

}  // namespace quill
