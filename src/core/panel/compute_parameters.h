#pragma once

namespace quill {

struct Document;

// "Compute Parameters": a, b, c, d of map i from the scale factors r and s and the two angles
// (degrees) of the compute fields, into the map table and, cut to three decimals, into row i of
// the grid. A refusal shows its message and changes neither.
void computeParameters(Document& document);

}  // namespace quill
