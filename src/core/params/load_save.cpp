#include "core/params/load_save.h"

#include <QString>

#include "core/document/document.h"
#include "core/panel/read_grid.h"
#include "core/params/param_file.h"

namespace quill {

void loadParameters(Document& document) {
  const QString fileName = document.dialogs.openFileName();
  if (fileName.isEmpty()) return;

  const Result<FileRows> rows = readSavedFile(fileName);
  if (!rows) {
    document.dialogs.message(rows.message());
    return;
  }

  // The values are not checked here, and mapCumP stays as it was: the next command that reads
  // the panel checks the texts and rebuilds the table.
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
}

void saveParameters(Document& document) {
  const QString fileName = document.dialogs.saveFileName();
  if (fileName.isEmpty()) return;
  // The panel's refusal leaves the file untouched.
  if (const Status read = readGrid(document); !read) {
    document.dialogs.message(read.message());
    return;
  }
  const Status saved =
      document.writeFile(fileName, savedLayoutText(document.drawing.maps), kParameterSaveMessages);
  if (!saved) document.dialogs.message(saved.message());
}

}  // namespace quill
