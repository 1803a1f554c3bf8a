#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/base/chaos_random.h"
#include "core/base/color.h"
#include "core/base/render_control.h"
#include "core/base/result.h"
#include "core/base/save_file.h"
#include "core/maps/drawing_state.h"
#include "core/render/drawing.h"

namespace quill {

// What the user asks to render; the fractal's figure (triangle or square) follows the pattern.
enum class PictureMode { BluePrint, Fractal, ChaosGame };
enum class Shading { Flat, Density, ByMap };
// PNG, BMP and JPEG files are written a row at a time, SVG a figure at a time. QtImage stands
// for the other types Qt writes (.ppm, .xpm ...): the whole picture is held once more to be
// encoded, so it costs 4 bytes a pixel of the file beside the render's own memory.
enum class PictureFormat { Png8, Png16, Svg, Bmp, Jpeg, QtImage };

// A picture rendered to a file rather than to the canvas: any size up to 16384 × 16384, the
// chaos game shaded by hit counts, PNG of 8 or 16 bits a channel, BMP, JPEG, SVG for the line
// drawings.
struct PictureRequest {
  int width = 1920;  // pixels of the file
  int height = 1080;
  Shading shading = Shading::Flat;  // chaos game only
  double gamma = 2.2;
  int supersample = 1;          // 1 to 4: rendered K times larger and averaged down
  std::vector<Rgb> mapColours;  // of maps 1, 2, …; missing ones from defaultMapColours()
  PictureFormat format = PictureFormat::Png8;
  double svgSmallestFigure = 0.1;  // pixels: smaller figures are drawn as what they cover
  std::uint64_t seed = ChaosRandom::kSeed;
  // Where a canvas's chaos game went on from, in place of the seed (a picture that says so).
  std::optional<std::uint64_t> generatorState;
  Rgb pen = kBlack;
  Rgb paper = kWhite;
  // What the picture was drawn from (recordText), carried in PNG and SVG files; empty: nothing.
  QByteArray record;
};

inline constexpr int kMaxPictureSide = 16384;
inline constexpr int kMaxSupersample = 4;
// Memory a picture may take while it renders. Per rendered pixel (K × K of them per pixel of a
// picture supersampled K times): density 4 bytes (a count), so 16384 × 16384 fits; colour by map
// 28 bytes (a count and three 64-bit sums), at most about 7544 × 7544; flat pictures and PNGs of
// the line drawings 4 bytes (the canvas), plus up to 256 MiB for the chaos game's bit-planes;
// SVG a bit; QtImage 4 bytes a pixel of the file more. Rows of the file come to a few MiB beside,
// and the threads' own counts (hit_counts.cpp): up to 256 MiB where the counts take at most
// 64 MiB, up to 128 MiB of buffers beyond (a seventh of that by map).
inline constexpr std::int64_t kPictureMemoryBudget = std::int64_t{1536} << 20;

inline const QString kPictureCancelledMessage = QStringLiteral(
    QT_TRANSLATE_NOOP("Messages", "The picture was cancelled; no file was written."));
inline const QString kPictureFormatMessage = QStringLiteral(QT_TRANSLATE_NOOP(
    "Messages",
    "Cannot save the picture: unknown image format. Please use a name ending in .png, .jpg, "
    ".bmp or .svg."));
inline const SaveMessages kRenderedPictureMessages = {
    QStringLiteral(QT_TRANSLATE_NOOP("Messages", "Cannot save the picture: disk full.")),
    QStringLiteral(QT_TRANSLATE_NOOP("Messages", "Cannot save the picture. Please try again."))};

// The chaos game's generator at its start: at the generator's state when one is given, else
// from the seed.
inline ChaosRandom startingGenerator(const PictureRequest& request) {
  return request.generatorState ? ChaosRandom::resumedAt(*request.generatorState)
                                : ChaosRandom(request.seed);
}

// The maps' colours (kMapPalette), one per map slot: what colouring by map starts from.
std::vector<Rgb> defaultMapColours();

// What a drawing of `kind` is, as a picture's mode.
PictureMode pictureModeOf(DrawingKind kind);

// The format a file name asks for, whatever the case of its extension: .png or none PNG (of 16
// bits when asked), .bmp BMP, .jpg or .jpeg JPEG, .svg SVG; nothing for any other extension.
std::optional<PictureFormat> pictureFormatFor(const QString& path, bool depth16);

// Whether the request can be rendered: sizes, supersampling, SVG only for line drawings, and
// memory, naming the largest size that fits when it does not.
Status checkPictureRequest(const PictureRequest& request, PictureMode mode);

// What a picture is rendered from: the drawing state with the maps and count that the drawing
// command's checks gave (checkPictureInputs), and what to draw.
struct PictureInputs {
  DrawingState drawing;
  DrawingKind kind = DrawingKind::BluePrint;
};

// Renders the picture and writes it to `path` atomically, row by row for PNG, BMP and JPEG; the
// generator starts from request.seed. Cancelled: nothing written, a failure saying so. Where
// memory runs short it fails with kNoMemoryMessage; a std::bad_alloc may still come from deep
// inside Qt, for the job's edge to catch.
Status renderPicture(const PictureInputs& inputs, const PictureRequest& request,
                     const RenderControl& control, const QString& path);

}  // namespace quill
