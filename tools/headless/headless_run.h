#pragma once

#include <atomic>
#include <cstdio>

#include "headless/render_options.h"

namespace quill::headless {

inline constexpr int kExitDrawn = 0;
inline constexpr int kExitRefused = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitInterrupted = 130;

// Fills the grid from the pattern or the parameter file as the panel's menu or "Load Parameters"
// would, runs the drawing command on a canvas of the requested size and writes the picture.
// Messages go to `errors`, one a line, exactly as the program words them. Returns the exit
// status. `cancel`, when set during the drawing, stops it; nothing is written then.
int runHeadless(const RenderOptions& options, std::FILE* errors, const std::atomic<bool>* cancel,
                bool showProgress);

}  // namespace quill::headless
