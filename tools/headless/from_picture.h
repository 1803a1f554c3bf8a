#pragma once

#include "core/base/result.h"
#include "core/picture/picture_record.h"
#include "headless/render_options.h"

namespace quill::headless {

// The options of a run with --from-picture, once the picture's record is read: its mode, count,
// size, colours and picture settings in place of the options that --from-picture leaves out.
// Fails when the output cannot hold the picture that way (the chaos game as SVG, shading to a
// type written whole).
Result<RenderOptions> withPictureSettings(const RenderOptions& options,
                                          const PictureRecord& record);

}  // namespace quill::headless
