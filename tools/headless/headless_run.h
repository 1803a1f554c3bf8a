#pragma once

#include <atomic>
#include <cstdio>

#include "headless/render_options.h"

namespace quill::headless {

inline constexpr int kExitDrawn = 0;
inline constexpr int kExitRefused = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitInterrupted = 130;

// Fills the grid from the pattern, the parameter file or the .ifs entry as the panel's menu,
// "Load Parameters" or "Import .ifs..." would; fits it into the square and writes it as an .ifs
// entry when asked; draws what the drawing command would draw on a canvas of the requested size
// and writes the picture a row at a time. --report writes the maths report of the maps (to `output`
// for "-") before any picture. --list-entries prints the .ifs file's entries to `output` and does
// nothing else. Messages go to `errors`, one a line, exactly as the program words them. Returns the
// exit status. `cancel`, when set during the drawing, stops it; nothing is written then. Where
// memory runs short the picture is refused with kNoMemoryMessage: no std::bad_alloc leaves it.
int runHeadless(const RenderOptions& options, std::FILE* output, std::FILE* errors,
                const std::atomic<bool>* cancel, bool showProgress);

}  // namespace quill::headless
