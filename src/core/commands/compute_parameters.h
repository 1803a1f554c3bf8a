#pragma once

#include "core/base/result.h"

namespace quill {

struct Document;

// a, b, c, d of map i from the compute fields: the scale factors r and s and the two angles in
// degrees, into the map table and, cut to three decimals, into row i of the grid. The fields'
// values are kept as the working values. Fails with "Please enter values for all parameters",
// "Please enter only numerical values" or "Enter index i from 1 to 10", changing neither the
// table nor the grid.
Status computeMap(Document& document);

// "Compute Parameters": computeMap, showing a refusal.
void computeParameters(Document& document);

}  // namespace quill
