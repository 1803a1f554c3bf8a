#pragma once

#include <QString>
#include <optional>

#include "core/base/result.h"

namespace quill {

struct Document;

// What a file given to the program (on its command line, dropped on a window) holds, by its
// first bytes and its name: a picture Quillmere wrote (PNG or SVG), an .ifs file, or else a
// saved parameter file.
enum class OpenedFile { Picture, Ifs, Parameters };
OpenedFile openedFileKind(const QString& path);

// Opens the file as its kind asks, changing nothing when it fails: a picture as openPictureFrom,
// an .ifs file's first entry as "Import .ifs..." loads it (fitted when the chooser's box says so),
// a parameter file as "Load Parameters". Fails with the reader's message.
Status openFileFrom(Document& document, const QString& path);

// Loads the entry named `entry` (any case) of the .ifs file at `path`, fitted when the chooser's
// box says so. Fails with the reader's message, or when the file has no such entry.
Status openIfsEntryFrom(Document& document, const QString& path, const QString& entry);

// The same for the user: an .ifs file of several entries offers the chooser, and a failure is
// shown. Returns the kind opened, or nothing when it failed or was cancelled.
std::optional<OpenedFile> openFile(Document& document, const QString& path);

}  // namespace quill
