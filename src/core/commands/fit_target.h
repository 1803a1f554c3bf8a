#pragma once

#include <vector>

#include "core/base/render_control.h"
#include "core/base/result.h"
#include "core/collage/fit_to_target.h"
#include "core/maps/weighted_map.h"

namespace quill {

struct Document;

// The grid's maps as a fit starts from them, read as the drawing commands read them; an empty
// grid gives no maps (the fit then seeds its own). Fails with the grid's message.
Result<std::vector<PlaneMap>> fitStartMaps(Document& document);

// Fits the grid's maps (or, with an empty grid, options.mapCount seeded maps) to `target` and
// writes the best system into the grid. Fails with the grid's or the fit's message, changing
// nothing; a cancelled fit still writes the best so far (outcome.cancelled says so).
Result<FitOutcome> fitGridToTarget(Document& document, const Target& target,
                                   const FitOptions& options, const RenderControl& control);

}  // namespace quill
