#pragma once

#include "core/base/result.h"

namespace quill {

struct Document;

inline const QString kEmptyFieldMessage =
    QStringLiteral("Required parameter value cannot be empty.");
inline const QString kInvalidValueMessage = QStringLiteral("Invalid parameter value.");

// Reads the map grid into the map table: mapCount from the first empty a field, then each row's
// seven numbers and the running sums of p. Fails at the first row with an empty field
// (kEmptyFieldMessage) or a text that is not a number (kInvalidValueMessage), empty fields first;
// the table must not be used then.
Status readGrid(Document& document);

}  // namespace quill
