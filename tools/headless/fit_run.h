#pragma once

#include <QString>
#include <atomic>
#include <cstdio>

#include "headless/render_options.h"

namespace quill {
struct Document;
}

namespace quill::headless {

// Fits the grid's maps (or options.targetMaps seeded ones) to the shape of options.targetFile
// and writes the fitted system into the grid. Returns kExitDrawn and sets `summary` to the JSON
// line the run ends with (iou, collage_distance, bound, maps, seconds); otherwise prints the
// message on `errors` and returns kExitRefused, or kExitInterrupted when `cancel` was set.
int fitToTargetFile(Document& document, const RenderOptions& options, std::FILE* errors,
                    const std::atomic<bool>* cancel, bool showProgress, QString& summary);

}  // namespace quill::headless
