#pragma once

#include <QString>
#include <span>

#include "core/base/result.h"
#include "core/base/save_file.h"
#include "core/params/ifs_file.h"

namespace quill {

struct Document;

inline const QString kNoMapsToExportMessage =
    QStringLiteral(QT_TRANSLATE_NOOP("Messages", "There are no maps to export."));

inline const SaveMessages kIfsSaveMessages = {
    QStringLiteral(QT_TRANSLATE_NOOP("Messages", "Cannot save the file: disk full.")),
    QStringLiteral(QT_TRANSLATE_NOOP("Messages", "Cannot save the file. Please try again."))};

// Empties the grid and writes `maps` (at most ten) into its first rows and into the map table,
// each number in the grid's own text.
void fillGrid(Document& document, std::span<const WeightedMap> maps);

// Puts an .ifs entry into the grid as "Load Parameters" does: the numbers into the map table, their
// texts into the rows, the rows below emptied, the entry's name as the panel's caption; fitted into
// the square first when `fit` says so. An entry that cannot be drawn is refused with its reason and
// changes nothing. When fitting was asked for maps that do not contract, the entry is put in as
// written and the result says why it was not fitted.
Status loadIfsEntry(Document& document, const IfsEntry& entry, bool fit);

// Fits the grid's maps into the square (only e and f change), reading the grid as the drawing
// commands do; fails with their message, or when the maps do not contract.
Status fitGridToSquare(Document& document);

// What an export does with an .ifs file already at its path.
enum class ExportMode {
  ReplaceFile,      // the file becomes the one entry
  AddToCollection,  // the entry is added, or replaces the entry of its name; the rest is kept
};

// Writes the grid's maps to `path` as one .ifs entry named after the panel's caption, reading the
// grid as the drawing commands do; refuses a grid without maps (kNoMapsToExportMessage), and in
// AddToCollection mode a file that does not read as .ifs, with the reader's message. The file
// changes only once its complete new bytes are ready.
Status exportIfsTo(Document& document, const QString& path,
                   ExportMode mode = ExportMode::ReplaceFile);

// "Tools" -> "Import .ifs...": asks for the file; a file of one entry loads at once, with several
// the user chooses one; a failure is shown.
void importIfs(Document& document);
// The same for the file at `path`, asked for no more: opened from the command line or dropped.
void importIfsFrom(Document& document, const QString& path);
// "Tools" -> "Export .ifs...": asks for the file, and onto an existing one whether to add the
// entry to the collection or replace the file; a failure is shown.
void exportIfs(Document& document);
// "Tools" -> "Fit Maps to Square": fitGridToSquare, showing its failure.
void fitMapsToSquare(Document& document);

}  // namespace quill
