#pragma once

#include <atomic>
#include <cstdio>

#include "headless/render_options.h"

namespace quill::headless {

inline constexpr int kExitDrawn = 0;
inline constexpr int kExitRefused = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitInterrupted = 130;

// Flushes `output` and, when anything written to it was lost (a full disk, a closed or broken
// stream), says so on `errors` and turns a success into kExitRefused. Returns the status to end
// with.
int finishOutput(std::FILE* output, std::FILE* errors, int status);

// Fills the grid from the pattern, the parameter file or the .ifs entry as the panel's menu,
// "Load Parameters" or "Import .ifs..." would; fits it into the square and writes it as an .ifs
// entry when asked; draws what the drawing command would draw on a canvas of the requested size
// and writes the picture a row at a time. --report writes the maths report of the maps before any
// picture. "-" as a file writes to standard output. --list-entries prints the .ifs file's entries
// to `output` (checked by finishOutput when the run ends) and does nothing else. Messages go to
// `errors`, one a line, exactly as the program words them. Returns the exit status. `cancel`, when
// set during the drawing or while a FIFO waits for its reader, stops it; nothing is written then.
// Set once a file is complete, it changes nothing. Where memory runs short the picture is refused
// with kNoMemoryMessage: no std::bad_alloc leaves it.
int runHeadless(const RenderOptions& options, std::FILE* output, std::FILE* errors,
                const std::atomic<bool>* cancel, bool showProgress);

}  // namespace quill::headless
