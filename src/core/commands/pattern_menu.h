#pragma once

#include "core/base/result.h"

namespace quill {

struct Document;

// Item `index` of the pattern menus: selects it for the fractal's figure and empties the grid;
// for a preset, sets the caption and fills the grid from the pattern's preset file, read on the
// first choice of the pattern only and from the cache afterwards, so that a later choice brings
// back the values first read even when the file has changed or gone. "User" only empties the
// grid. Fails with the reader's message when the preset file cannot be read whole; it is then
// read again, from its start, on the next choice. An index outside the menus does nothing.
Status loadPattern(Document& document, int index);

// Item `index` of "Select a Pattern" or "Reset a Pattern" (they do the same): loadPattern,
// showing its failure.
void choosePattern(Document& document, int index);
inline void resetPattern(Document& document, int index) { choosePattern(document, index); }

}  // namespace quill
