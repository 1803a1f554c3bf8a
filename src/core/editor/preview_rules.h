#pragma once

#include <cstdint>

namespace quill {

// The rules of the preview's game that both renderers share; the map is picked by MapPicker.
constexpr std::uint64_t kPreviewSkip = 20;      // steps of a fresh orbit not plotted
constexpr std::uint64_t kPreviewBatch = 65536;  // points between two looks at the cancel flag
constexpr double kPreviewRunOff = 1e6 * 1e6;    // squared distance at which the orbit restarts

}  // namespace quill
