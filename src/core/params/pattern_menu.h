#pragma once

namespace quill {

struct Document;

// Item `index` of "Select a Pattern" or "Reset a Pattern" (they do the same): empties the grid,
// and for a preset sets the caption and fills the grid from the pattern's preset file, read on
// the first choice of the pattern only and from the cache afterwards. "User" only empties the
// grid. A preset file that cannot be read shows its message and is read again next time.
void choosePattern(Document& document, int index);
inline void resetPattern(Document& document, int index) { choosePattern(document, index); }

}  // namespace quill
