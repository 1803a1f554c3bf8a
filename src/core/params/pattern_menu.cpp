#include <QDir>
#include <QString>

#include "core/document/dialogs.h"
#include "core/document/document.h"
#include "core/maps/pattern_catalogue.h"
#include "core/params/param_file.h"

namespace quill {

// Item `index` of "Select a Pattern" or "Reset a Pattern". A preset file is read on the first
// choice of its pattern only; later choices refill the grid from the cache, so "Reset" brings
// back the values first read even when the file has changed or gone since.
void Panel::mnuPattern_Click(int index) {
  if (index < 0 || index >= kPatternCount) return;
  state_.selectedPattern = index;
  state_.clearGrid();
  if (index == kUserPattern) return;  // the grid is left empty and the caption as it was

  const PatternEntry& pattern = kPatterns[std::size_t(index)];
  state_.caption = pattern.panelCaption;

  PresetRows& cache = presetCache_[std::size_t(index)];
  if (!state_.patternLoaded[std::size_t(index)]) {
    const ParamFileContent content =
        readPresetFile(QDir(presetDirectory_).filePath(pattern.fileName), pattern.mapCount);
    if (content.error != FileError::None) {
      dialogs_.message(fileErrorMessage(content.error));
      return;
    }
    // Only a file read whole enters the cache; a failed read is tried again from its start on
    // the next choice.
    cache.rows.clear();
    for (const FileRow& row : content.rows) {
      std::array<QString, kColumnCount> texts;
      for (int column = 0; column < kColumnCount; ++column) texts[column] = row[column].panelText;
      cache.rows.push_back(std::move(texts));
    }
    state_.patternLoaded[std::size_t(index)] = true;
  }

  for (std::size_t r = 0; r < cache.rows.size(); ++r) {
    for (int column = 0; column < kColumnCount; ++column) {
      state_.cell(int(r) + 1, column) = cache.rows[r][column];
    }
  }
}

}  // namespace quill
