#pragma once

#include <array>
#include <cstdint>

#include "core/picture/hit_counts.h"
#include "core/picture/picture.h"
#include "core/picture/picture_rows.h"

namespace quill {

// The shared state for a picture rendered at width × height pixels: the drawing square derived
// as the canvas of that size derives it (15 twips a pixel), the request's pen and paper.
DrawingState pictureState(const PictureInputs& inputs, const PictureRequest& request, int width,
                          int height);

// The tints of maps 1 to 10 (slot j for map j): the request's colours, then the default palette.
std::array<Tint, kMapSlots> mapTints(const PictureRequest& request);

// A colour's channel scaled from 0–255 to 0–65535.
inline std::uint32_t channel16(Rgb colour, int shift) { return ((colour >> shift) & 0xFF) * 257; }

// The rendered rows of a picture handed on while the render's memory is still held, to a file
// writer or to a frame of a movie.
using RowSink = std::function<Status(const RowSource& row)>;

// The rows of writeShadedPicture and writeFlatPicture, handed to `sink`; its status comes back.
Status renderShadedRows(const PictureInputs& inputs, const PictureRequest& request,
                        const RenderControl& control, const RowSink& sink);
Status renderFlatRows(const PictureInputs& inputs, const PictureRequest& request,
                      const RenderControl& control, const RowSink& sink);

// The chaos game shaded by its hit counts (density or by map), written in the request's format.
Status writeShadedPicture(const PictureInputs& inputs, const PictureRequest& request,
                          const RenderControl& control, const QString& path);

// The canvas's picture of the drawing, in the request's format: drawFast on a canvas of the
// rendered size, averaged down when supersampled.
Status writeFlatPicture(const PictureInputs& inputs, const PictureRequest& request,
                        const RenderControl& control, const QString& path);

}  // namespace quill
