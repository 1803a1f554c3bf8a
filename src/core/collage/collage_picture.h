#pragma once

#include <QImage>

#include "core/collage/collage_grid.h"
#include "core/collage/target.h"

namespace quill {

// The collage as the map editor paints it over the drawing: a premultiplied ARGB pixel a cell,
// the grid's first row at the top, transparent where there is nothing to show.

// The target's shape in one dark colour (the editor applies the backdrop's opacity).
QImage shapePicture(const Target& target);

// The target's cells that some map's image covers, those none covers, and the images' cells
// outside the target (spill), each in its colour.
QImage collagePicture(const CellMask& shape, const CellMask& images);

}  // namespace quill
