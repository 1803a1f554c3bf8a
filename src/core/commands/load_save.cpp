#include "core/commands/load_save.h"

#include "core/commands/show_if_failed.h"
#include "core/document/document.h"
#include "core/maps/read_grid.h"
#include "core/params/param_file.h"

namespace quill {

Status loadParametersFrom(Document& document, const QString& path) {
  const Result<FileRows> rows = readSavedFile(path);
  if (!rows) return Failure{rows.message()};

  // The values are not checked here, and mapCumP stays as it was: the next command that reads
  // the grid checks the texts and rebuilds the table.
  MapTable& maps = document.drawing.maps;
  storeRows(*rows, maps);
  PanelState& state = document.state;
  state.clearGrid();
  for (int i = 1; i <= maps.mapCount; ++i) {
    const FileRow& row = rows->at(std::size_t(i - 1));
    for (int column = 0; column < kColumnCount; ++column) {
      state.cell(i, column) = row[column].panelText;
    }
  }
  return {};
}

Status saveParametersTo(Document& document, const QString& path) {
  // The grid's refusal leaves the file untouched.
  const Result<MapTable> maps = readGrid(document.state);
  if (!maps) return Failure{maps.message()};
  document.drawing.maps = *maps;
  return document.writeFile(path, savedLayoutText(*maps), kParameterSaveMessages);
}

void loadParameters(Document& document) {
  const QString path = document.dialogs.openFileName();
  if (path.isEmpty()) return;
  showIfFailed(document.dialogs, loadParametersFrom(document, path));
}

void saveParameters(Document& document) {
  const QString path = document.dialogs.saveFileName();
  if (path.isEmpty()) return;
  showIfFailed(document.dialogs, saveParametersTo(document, path));
}

}  // namespace quill
