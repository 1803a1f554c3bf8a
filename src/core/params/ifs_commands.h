#pragma once

#include <QString>

#include "core/base/result.h"
#include "core/params/ifs_file.h"

namespace quill {

struct Document;

inline const SaveMessages kIfsSaveMessages = {
    QStringLiteral("Cannot save the file: disk full."),
    QStringLiteral("Cannot save the file. Please try again.")};

// Puts an .ifs entry into the grid as "Load Parameters" does: the numbers into the map table, their
// texts into the rows, the rows below emptied, the entry's name as the panel's caption; fitted into
// the square first when `fit` says so. An entry that cannot be drawn is refused with its reason and
// changes nothing. When fitting was asked for maps that do not contract, the entry is put in as
// written and the result says why it was not fitted.
Status loadIfsEntry(Document& document, const IfsEntry& entry, bool fit);

// Fits the grid's maps into the square (only e and f change), reading the grid as the drawing
// commands do; fails with their message, or when the maps do not contract.
Status fitMapsToSquare(Document& document);

// Writes the grid's maps as one .ifs entry named after the panel's caption, reading the grid as
// the drawing commands do.
Status saveIfs(Document& document, const QString& path);

// "Tools" -> "Import .ifs...": a file of one entry loads at once; with several, the user chooses.
void cmdImportIfs_Click(Document& document);
// "Tools" -> "Export .ifs...".
void cmdExportIfs_Click(Document& document);
// "Tools" -> "Fit Maps to Square".
void cmdFitMaps_Click(Document& document);

}  // namespace quill
