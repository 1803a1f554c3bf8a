#pragma once

#include <QString>

namespace quill {

// Where the pattern files were found, and what went wrong when they were not.
struct PresetFolder {
  QString path;     // the folder the pattern menus read; the program's own when none holds them
  QString problem;  // empty when the folder holds every pattern file, else a line for stderr
};

// Looks for the pattern files beside the program (a build tree, or a folder copied whole) and
// then in the data folder of an installed tree (../share/quillmere from the program's folder).
// Takes the first folder that holds every pattern file, else the first that holds any; when
// none holds one, the program's own folder, and the problem names the folders looked in.
[[nodiscard]] PresetFolder findPresetFolder(const QString& programFolder);

}  // namespace quill
