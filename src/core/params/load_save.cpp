#include <QString>

#include "core/document/dialogs.h"
#include "core/document/document.h"
#include "core/params/param_file.h"

namespace quill {

// The whole file is read and checked before anything changes: a refused file leaves the map
// table and the grid exactly as they were.
void Panel::cmdLoad_Click() {
  const QString fileName = dialogs_.openFileName();
  if (fileName.isEmpty()) return;

  const ParamFileContent content = readSavedFile(fileName);
  if (content.error != FileError::None) {
    dialogs_.message(fileErrorMessage(content.error));
    return;
  }

  // The values are not checked here, and mapCumP stays as it was: the next command that reads
  // the panel checks the texts and rebuilds the table.
  MapTable& maps = module1_.maps;
  storeRows(content.rows, maps);
  state_.clearGrid();
  for (int i = 1; i <= maps.mapCount; ++i) {
    const FileRow& row = content.rows[std::size_t(i - 1)];
    for (int column = 0; column < kColumnCount; ++column) {
      state_.cell(i, column) = row[column].panelText;
    }
  }
}

void Panel::cmdSaveParam_Click() {
  const QString fileName = dialogs_.saveFileName();
  if (fileName.isEmpty()) return;
  if (!ReadPanel()) return;  // its message is already shown; the file is not touched

  switch (saveParameterFile(fileName, module1_.maps)) {
    case SaveError::None:
      break;
    case SaveError::DiskFull:
      dialogs_.message(QStringLiteral("Cannot save parameters: disk full."));
      break;
    case SaveError::Other:
      dialogs_.message(QStringLiteral("Cannot save parameters. Please try again."));
      break;
  }
}

}  // namespace quill
