#pragma once

#include <atomic>
#include <cstdio>

#include "headless/render_options.h"

namespace quill::headless {

// Reads the animation's keys (the key file, or each --key's parameter file or .ifs entry as the
// panel would load it), morphs between them and writes options.frames pictures of options.mode
// to options.output, rendered as a single picture with the same options would be: numbered PNG
// pictures, a GIF or an MP4. Pairs of maps that turn over are noted on `errors` without stopping.
// Returns the exit status; `cancel` stops the export, leaving no movie in place of an old one.
int runAnimation(const RenderOptions& options, std::FILE* errors, const std::atomic<bool>* cancel,
                 bool showProgress);

}  // namespace quill::headless
