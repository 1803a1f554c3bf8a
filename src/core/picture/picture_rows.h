#pragma once

#include <cstdint>
#include <functional>

#include "core/base/render_control.h"
#include "core/base/result.h"

class QIODevice;

namespace quill {

// Fills one row of the picture: 3 × width values, red, green, blue, 0 to 65535.
using RowSource = std::function<void(int y, std::uint16_t* values)>;

// Writes a width × height RGB PNG into `device` one row at a time, asking `row` for each, so
// no more than a row is ever held: 16 bits a channel, or 8 (each value rounded to the nearest of
// 0 to 255). Looks at the cancel flag and reports progress (from `progressFrom` to 1) every few
// rows. Fails when cancelled or when the device takes no more.
Status writePngRows(QIODevice& device, int width, int height, bool sixteenBits,
                    const RowSource& row, const RenderControl& control, double progressFrom);

}  // namespace quill
