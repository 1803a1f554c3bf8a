#pragma once

#include <cstdint>
#include <functional>

#include "core/base/render_control.h"
#include "core/base/result.h"
#include "core/picture/picture.h"

class QIODevice;

namespace quill {

// Fills one row of the picture: 3 × width values, red, green, blue, 0 to 65535 (4 × width, alpha
// fourth, for a PNG with alpha). Rows may be asked for in any order (a BMP is stored from the
// bottom up).
using RowSource = std::function<void(int y, std::uint16_t* values)>;

// Rows between two looks at the cancel flag.
inline constexpr int kRowBatch = 16;

// Before row `done` of `height`: every kRowBatch rows, false when cancelled, else the progress
// (from `progressFrom` to 1) reported.
inline bool rowBatchGoesOn(int done, int height, const RenderControl& control,
                           double progressFrom) {
  if (done % kRowBatch != 0) return true;
  if (control.cancelled()) return false;
  control.report(progressFrom + (1 - progressFrom) * double(done) / double(height));
  return true;
}

// A value of 0 to 65535 rounded to the nearest of 0 to 255.
inline std::uint8_t eightBits(std::uint16_t value) {
  return std::uint8_t((std::uint32_t(value) * 255 + 32767) / 65535);
}

// Write a width × height RGB picture into `device` one row at a time, asking `row` for each, so no
// more than a row or two is ever held. They look at the cancel flag and report progress (from
// `progressFrom` to 1) every few rows, and fail when cancelled (kPictureCancelledMessage), when
// the device takes no more, or when the encoder finds no memory (kNoMemoryMessage).
//
// PNG of 16 bits a channel, or 8 (each value rounded to the nearest of 0 to 255); with `alpha`,
// each pixel's fourth value its alpha, not premultiplied.
Status writePngRows(QIODevice& device, int width, int height, bool sixteenBits, bool alpha,
                    const RowSource& row, const RenderControl& control, double progressFrom);
// BMP of 24 bits a pixel, uncompressed, rows stored from the bottom up as readers expect.
Status writeBmpRows(QIODevice& device, int width, int height, const RowSource& row,
                    const RenderControl& control, double progressFrom);
// Baseline JPEG of quality 75.
Status writeJpegRows(QIODevice& device, int width, int height, const RowSource& row,
                     const RenderControl& control, double progressFrom);
// The writer of `format`: Png8, Png16, Bmp or Jpeg, all opaque.
Status writePictureRows(QIODevice& device, PictureFormat format, int width, int height,
                        const RowSource& row, const RenderControl& control, double progressFrom);

}  // namespace quill
