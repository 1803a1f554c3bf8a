#include "core/commands/pattern_menu.h"

#include <QDir>
#include <QString>

#include "core/commands/show_if_failed.h"
#include "core/document/document.h"
#include "core/maps/pattern_catalogue.h"
#include "core/params/param_file.h"

namespace quill {

Status loadPattern(Document& document, int index) {
  PanelState& state = document.state;
  if (index < 0 || index >= kPatternCount) return {};
  state.selectedPattern = index;
  state.clearGrid();
  if (index == kUserPattern) return {};  // the grid is left empty and the caption as it was

  const PatternEntry& pattern = kPatterns[std::size_t(index)];
  state.caption = pattern.panelCaption;

  PresetRows& cache = document.presetCache[std::size_t(index)];
  if (!state.patternLoaded[std::size_t(index)]) {
    const Result<FileRows> rows =
        readPresetFile(QDir(document.presetDirectory).filePath(pattern.fileName), pattern.mapCount);
    if (!rows) return Failure{rows.message()};
    // Only a file read whole enters the cache; a failed read is tried again from its start on
    // the next choice.
    cache.clear();
    for (const FileRow& row : *rows) {
      std::array<QString, kColumnCount> texts;
      for (int column = 0; column < kColumnCount; ++column) texts[column] = row[column].panelText;
      cache.push_back(std::move(texts));
    }
    state.patternLoaded[std::size_t(index)] = true;
  }

  for (std::size_t r = 0; r < cache.size(); ++r) {
    for (int column = 0; column < kColumnCount; ++column) {
      state.cell(int(r) + 1, column) = cache[r][column];
    }
  }
  return {};
}

void choosePattern(Document& document, int index) {
  showIfFailed(document.dialogs, loadPattern(document, index));
}

}  // namespace quill
