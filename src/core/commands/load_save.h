#pragma once

#include <QString>

#include "core/base/result.h"

namespace quill {

struct Document;

// Reads the saved parameter file at `path` and checks it whole; only then empties the grid and
// fills it with the file's rows, and their numbers into the map table (mapCumP stays: the next
// command that reads the grid checks the texts and rebuilds the table). Fails with the reader's
// message (the file not found, an invalid format), changing nothing.
Status loadParametersFrom(Document& document, const QString& path);

// Reads the grid as the drawing commands do and writes its maps to `path` in the saved layout,
// through the document's file writer. Fails with the grid's message, leaving any file as it was,
// or with the writer's.
Status saveParametersTo(Document& document, const QString& path);

// "Load Parameters" and "Save Parameters": ask for the file (Cancel does nothing), then the
// operation above, showing its failure.
void loadParameters(Document& document);
void saveParameters(Document& document);

}  // namespace quill
