#include "core/movie/gif_movie.h"

#include <gif_lib.h>

#include <QCoreApplication>
#include <QIODevice>
#include <cmath>
#include <memory>

#include "core/base/save_file.h"
#include "core/movie/movie_export.h"
#include "core/picture/picture_rows.h"

namespace quill {

namespace {

constexpr int kPaletteSize = 256;
constexpr int kPenSteps = 124;  // between paper and pen, for density shading
constexpr int kMapSteps = 12;   // between paper and each map colour, for colouring by map

Rgb mix(Rgb from, Rgb to, double t) {
  const auto channel = [&](int shift) {
    const double x = (from >> shift) & 0xFF, y = (to >> shift) & 0xFF;
    return Rgb(std::lround(x + (y - x) * t)) << shift;
  };
  return channel(16) | channel(8) | channel(0);
}

int writeToDevice(GifFileType* gif, const GifByteType* bytes, int length) {
  auto* device = static_cast<QIODevice*>(gif->UserData);
  return int(device->write(reinterpret_cast<const char*>(bytes), length));
}

struct GifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    if (gif != nullptr) EGifCloseFile(gif, &error);
  }
};
struct MapFreer {
  void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

Failure gifFailure() {
  return Failure{QCoreApplication::translate("Messages", "Cannot write the GIF.")};
}

// The screen, the palette, and the extension that makes players repeat the frames forever.
bool writeHeader(GifFileType* gif, int width, int height, const std::vector<Rgb>& palette) {
  std::unique_ptr<ColorMapObject, MapFreer> colours(GifMakeMapObject(kPaletteSize, nullptr));
  if (!colours) return false;
  for (int i = 0; i < kPaletteSize; ++i) {
    const Rgb c = palette[std::size_t(i)];
    colours->Colors[i] = {GifByteType(c >> 16), GifByteType(c >> 8), GifByteType(c)};
  }
  EGifSetGifVersion(gif, true);
  if (EGifPutScreenDesc(gif, width, height, 8, 0, colours.get()) != GIF_OK) return false;
  static const GifByteType kNetscape[] = "NETSCAPE2.0";
  static const GifByteType kForever[] = {1, 0, 0};
  return EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
         EGifPutExtensionBlock(gif, 11, kNetscape) == GIF_OK &&
         EGifPutExtensionBlock(gif, 3, kForever) == GIF_OK &&
         EGifPutExtensionTrailer(gif) == GIF_OK;
}

}  // namespace

std::vector<Rgb> moviePalette(const PictureRequest& request) {
  std::vector<Rgb> palette = {request.paper, request.pen};
  std::vector<Rgb> maps = defaultMapColours();
  for (std::size_t i = 0; i < request.mapColours.size() && i < maps.size(); ++i) {
    maps[i] = request.mapColours[i];
  }
  maps.resize(kMaxMaps);
  palette.insert(palette.end(), maps.begin(), maps.end());
  for (int step = 1; step <= kPenSteps; ++step) {
    palette.push_back(mix(request.paper, request.pen, double(step) / (kPenSteps + 1)));
  }
  for (const Rgb map : maps) {
    for (int step = 1; step <= kMapSteps; ++step) {
      palette.push_back(mix(request.paper, map, double(step) / (kMapSteps + 1)));
    }
  }
  palette.resize(kPaletteSize, request.paper);
  return palette;
}

PaletteIndex::PaletteIndex(std::vector<Rgb> palette)
    : palette_(std::move(palette)), nearest_(std::size_t(1) << 24), known_(std::size_t(1) << 24) {}

std::uint8_t PaletteIndex::operator()(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
  const std::size_t colour = (red << 16) | (green << 8) | blue;
  if (known_[colour]) return nearest_[colour];
  int best = 0;
  std::int64_t bestDistance = INT64_MAX;
  for (std::size_t i = 0; i < palette_.size(); ++i) {
    const std::int64_t dr = std::int64_t((palette_[i] >> 16) & 0xFF) - red;
    const std::int64_t dg = std::int64_t((palette_[i] >> 8) & 0xFF) - green;
    const std::int64_t db = std::int64_t(palette_[i] & 0xFF) - blue;
    const std::int64_t distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = int(i);
    }
  }
  known_[colour] = true;
  nearest_[colour] = std::uint8_t(best);
  return std::uint8_t(best);
}

Status writeGifMovie(const MovieRequest& movie, const RenderControl& control, const QString& path) {
  const int width = movie.picture.width, height = movie.picture.height;
  if (width > kMaxGifSide || height > kMaxGifSide) return gifFailure();
  PaletteIndex index(moviePalette(movie.picture));
  // Hundredths of a second a frame, as GIF counts; players hold shorter frames longer.
  const int delay = std::max(2, int(std::lround(100 / movie.framesPerSecond)));
  const auto write = [&](QIODevice& device) -> Status {
    int error = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(EGifOpen(&device, writeToDevice, &error));
    if (!gif || !writeHeader(gif.get(), width, height, moviePalette(movie.picture))) {
      return gifFailure();
    }
    std::vector<std::uint16_t> values(std::size_t(width) * 3);
    std::vector<GifPixelType> line(std::size_t(width), 0);
    for (int frame = 0; frame < movie.frameCount; ++frame) {
      GraphicsControlBlock timing{DISPOSE_DO_NOT, false, delay, NO_TRANSPARENT_COLOR};
      GifByteType extension[4];
      EGifGCBToExtension(&timing, extension);
      if (EGifPutExtension(gif.get(), GRAPHICS_EXT_FUNC_CODE, 4, extension) != GIF_OK ||
          EGifPutImageDesc(gif.get(), 0, 0, width, height, false, nullptr) != GIF_OK) {
        return gifFailure();
      }
      bool lineFailed = false;
      const Status drawn = renderFrameRows(
          movie, frame, frameControl(control, frame, movie.frameCount),
          [&](const RowSource& row) -> Status {
            for (int y = 0; y < height; ++y) {
              if (y % kRowBatch == 0 && control.cancelled()) return Failure{kMovieCancelledMessage};
              row(y, values.data());
              for (std::size_t x = 0; x < line.size(); ++x) {
                line[x] = index(eightBits(values[3 * x]), eightBits(values[3 * x + 1]),
                                eightBits(values[3 * x + 2]));
              }
              if (EGifPutLine(gif.get(), line.data(), width) != GIF_OK) {
                lineFailed = true;
                return gifFailure();
              }
            }
            return {};
          });
      if (!drawn) {
        // The device's own failure (a full disk) is the writer's to report.
        return control.cancelled() ? Failure{kMovieCancelledMessage}
               : lineFailed        ? gifFailure()
                                   : drawn;
      }
    }
    GifFileType* open = gif.release();
    if (EGifCloseFile(open, &error) != GIF_OK) return gifFailure();
    control.report(1);
    return {};
  };
  return writeFileStreaming(path, kMovieSaveMessages, write, control.cancel);
}

}  // namespace quill
