#pragma once

#include <cstdint>

namespace quill {

// A 24-bit colour, 0x00RRGGBB.
using Rgb = std::uint32_t;

constexpr Rgb rgb(int red, int green, int blue) {
  return (Rgb(red & 0xFF) << 16) | (Rgb(green & 0xFF) << 8) | Rgb(blue & 0xFF);
}

inline constexpr Rgb kBlack = rgb(0, 0, 0);
inline constexpr Rgb kWhite = rgb(255, 255, 255);

}  // namespace quill
