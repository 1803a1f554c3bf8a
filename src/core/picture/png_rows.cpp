#include <png.h>

#include <QIODevice>
#include <csetjmp>
#include <vector>

#include "core/picture/picture_rows.h"

namespace quill {

namespace {

constexpr std::int64_t kQuickPngPixels = std::int64_t{1} << 22;
// 96 dots an inch, as the canvas's own pictures have always said: a plain picture keeps the very
// bytes it was written with before pictures were streamed.
constexpr png_uint_32 kDotsPerMetre = 3780;

void writeToDevice(png_structp png, png_bytep data, png_size_t length) {
  auto* device = static_cast<QIODevice*>(png_get_io_ptr(png));
  if (device->write(reinterpret_cast<const char*>(data), qint64(length)) != qint64(length)) {
    png_error(png, "write failed");
  }
}

void flushNothing(png_structp /*png*/) {}

// libpng reports errors by a long jump back to the setjmp of the call that failed. Each call is
// wrapped in a function of its own that holds nothing to destroy, so the jump skips no
// destructor; each returns false when libpng failed.
bool writeHeader(png_structp png, png_infop info, int width, int height, int bitDepth,
                 int colourType) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), bitDepth, colourType,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_pHYs(png, info, kDotsPerMetre, kDotsPerMetre, PNG_RESOLUTION_METER);
  png_write_info(png, info);
  return true;
}

bool writeRow(png_structp png, png_bytep row) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_write_row(png, row);
  return true;
}

bool writeEnd(png_structp png, png_infop info) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_write_end(png, info);
  return true;
}

// Owns libpng's write state.
struct PngWriter {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  ~PngWriter() { png_destroy_write_struct(&png, &info); }
};

}  // namespace

Status writePngRows(QIODevice& device, int width, int height, bool sixteenBits, bool alpha,
                    const RowSource& row, const RenderControl& control, double progressFrom) {
  PngWriter writer;
  if (writer.png == nullptr || writer.info == nullptr) return Failure{kNoMemoryMessage};
  png_set_write_fn(writer.png, &device, writeToDevice, flushNothing);
  // Past a few million pixels speed matters more than size: one filter rather than the best of
  // five for each row, and quicker compression. Smaller pictures take libpng's choices, which
  // make the smallest files.
  if (std::int64_t(width) * height > kQuickPngPixels) {
    png_set_filter(writer.png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_set_compression_level(writer.png, 3);
  }
  if (!writeHeader(writer.png, writer.info, width, height, sixteenBits ? 16 : 8,
                   alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB)) {
    return Failure{kRenderedPictureMessages.other};
  }
  std::vector<std::uint16_t> values(std::size_t(width) * (alpha ? 4 : 3));
  std::vector<png_byte> bytes(values.size() * (sixteenBits ? 2 : 1));
  for (int y = 0; y < height; ++y) {
    if (!rowBatchGoesOn(y, height, control, progressFrom)) return Failure{kPictureCancelledMessage};
    row(y, values.data());
    if (sixteenBits) {
      for (std::size_t i = 0; i < values.size(); ++i) {  // PNG is big-endian
        bytes[2 * i] = png_byte(values[i] >> 8);
        bytes[2 * i + 1] = png_byte(values[i] & 0xFF);
      }
    } else {
      for (std::size_t i = 0; i < values.size(); ++i) bytes[i] = eightBits(values[i]);
    }
    if (!writeRow(writer.png, bytes.data())) return Failure{kRenderedPictureMessages.other};
  }
  if (!writeEnd(writer.png, writer.info)) return Failure{kRenderedPictureMessages.other};
  control.report(1);
  return {};
}

}  // namespace quill
