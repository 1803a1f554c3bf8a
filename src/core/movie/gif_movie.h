#pragma once

#include <QString>
#include <cstdint>
#include <vector>

#include "core/base/color.h"
#include "core/base/result.h"

namespace quill {

struct MovieRequest;
struct PictureRequest;
struct RenderControl;

// The one palette of every frame of a GIF, so that no colour flickers from frame to frame: the
// paper, the pen, the ten map colours, and steps from the paper to the pen and to each map colour
// for shaded and supersampled pixels. 256 colours.
std::vector<Rgb> moviePalette(const PictureRequest& request);

// Each 24-bit colour's nearest palette entry, found once and kept.
class PaletteIndex {
 public:
  explicit PaletteIndex(std::vector<Rgb> palette);
  std::uint8_t operator()(std::uint32_t red, std::uint32_t green, std::uint32_t blue);

 private:
  std::vector<Rgb> palette_;
  std::vector<std::uint8_t> nearest_;  // by colour, once known
  std::vector<bool> known_;
};

inline constexpr int kMaxGifSide = 65535;

// The frames as an animated GIF that plays in a loop at the request's frame rate, made in a
// staged file that replaces `path` only once complete (exportMovie).
Status writeGifMovie(const MovieRequest& movie, const RenderControl& control, const QString& path);

}  // namespace quill
