#pragma once

#include <array>

#include "core/base/color.h"

namespace quill {

// The colours of maps 1 to 10, wherever maps are told apart by colour: the map editor's
// parallelograms and the "by map" shading of pictures. Told apart easily, and dark enough to read
// over the editor's preview and on paper.
inline constexpr std::array<Rgb, 10> kMapPalette = {0x1F6FB4, 0xE8710A, 0x2E9E44, 0xC8283A,
                                                    0x7B4FB0, 0x8C5A3C, 0xD9569E, 0x5F6B73,
                                                    0xA6A21C, 0x1AA6B8};

}  // namespace quill
