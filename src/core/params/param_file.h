#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <vector>

#include "core/base/result.h"
#include "core/base/save_file.h"
#include "core/maps/panel_state.h"

class QIODevice;

namespace quill {

struct MapTable;

// One value of a parameter file as the program keeps it: the number for the map table (0 when
// the field is not a number) and the text for the panel field. A number shows as the program's
// own text of it (".5" shows "0.5"), so a saved file loads back to the very texts it was
// written from; anything else shows as it stood, and reading the panel refuses it later.
struct FileValue {
  double number = 0;
  QString panelText;
};

// A map row in file order a, b, c, d, e, f, p, which is the column order of the panel.
using FileRow = std::array<FileValue, kColumnCount>;

// What Load and the pattern menus show when a file cannot be read.
inline const QString kFileNotFoundMessage = QStringLiteral(QT_TRANSLATE_NOOP(
    "Messages", "File not found.\nPlease make sure the file name you specify exists."));
inline const QString kInvalidFormatMessage =
    QStringLiteral(QT_TRANSLATE_NOOP("Messages", "Cannot load the file: invalid file format."));

// Rows read whole from a file. A file that cannot be read fails with kFileNotFoundMessage when
// nothing is at its path, kInvalidFormatMessage otherwise (unreadable, too few fields, a bad
// count, a malformed field), so a caller changes nothing.
using FileRows = std::vector<FileRow>;

// Puts the numbers of `rows` into maps 1 to rows.size() of the table and sets mapCount;
// mapCumP and the slots above are left as they were. At most ten rows.
void storeRows(const FileRows& rows, MapTable& maps);

// Reads the saved layout: a count, then that many rows. A count with a fraction reads the rows
// up to it (2.5 reads two), a count below 1 reads none; a count that is not a number or asks
// for more than ten rows is an invalid format. Fields after the counted rows are ignored.
Result<FileRows> readSavedLayout(QIODevice& device);
Result<FileRows> readSavedFile(const QString& path);

// Reads the preset layout: `mapCount` rows and no count; fields after them are ignored.
Result<FileRows> readPresetLayout(QIODevice& device, int mapCount);
Result<FileRows> readPresetFile(const QString& path, int mapCount);

// The saved layout of maps 1 to mapCount: the count on the first line, then one row a line,
// fields joined by commas, every line ending in CR LF.
[[nodiscard]] QByteArray savedLayoutText(const MapTable& maps);

// How Save words its failures.
inline const SaveMessages kParameterSaveMessages = {
    QStringLiteral(QT_TRANSLATE_NOOP("Messages", "Cannot save parameters: disk full.")),
    QStringLiteral(QT_TRANSLATE_NOOP("Messages", "Cannot save parameters. Please try again."))};

}  // namespace quill
