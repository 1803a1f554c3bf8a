#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <span>
#include <vector>

#include "core/base/result.h"
#include "core/maps/weighted_map.h"
#include "core/params/param_file.h"

class QIODevice;

namespace quill {

// One entry of an .ifs file. An entry that cannot be drawn keeps its name and says why in
// `refusal`: kThreeDimensionalMessage, tooManyMapsMessage(n) for more than ten maps, or, when its
// numbers do not make maps of seven, kInvalidFormatMessage and a second line saying where.
// `maps` holds the entry's maps (mapCount of them, every number finite) when `refusal` is empty,
// and nothing otherwise.
struct IfsEntry {
  QString name;
  int mapCount = 0;
  bool threeD = false;
  std::vector<WeightedMap> maps;
  QString refusal;
  // The bytes of the file the entry takes: from the first byte of its name to just after its '}'.
  qint64 begin = 0;
  qint64 end = 0;
};

inline const QString kThreeDimensionalMessage = QStringLiteral(QT_TRANSLATE_NOOP(
    "Messages", "This entry is three-dimensional; Quillmere draws maps of the plane only."));
// The refusal of a file that cannot be read at all.
inline const QString kUnreadableIfsMessage =
    kInvalidFormatMessage + QStringLiteral("\nThe file could not be read.");
// "This entry has N maps; Quillmere draws at most 10."
QString tooManyMapsMessage(int mapCount);

// The reader's limits. Published collections run to a few hundred entries on lines of less than
// a hundred characters; anything far beyond is not an .ifs file, and is refused before it costs
// time or memory.
inline constexpr qint64 kMaxIfsFileBytes = qint64(16) << 20;
inline constexpr qsizetype kMaxIfsLineBytes = qsizetype(64) << 10;
inline constexpr int kMaxIfsEntries = 100'000;

// Reads every entry. Fails when the file does not read as entries (a missing brace, text where a
// number belongs, no entry at all, a NUL byte, a line longer than kMaxIfsLineBytes, more than
// kMaxIfsFileBytes or kMaxIfsEntries, a device error) with kInvalidFormatMessage and a second
// line saying where and what, "Line 12, entry "bad": "x" is not a number."; with
// kFileNotFoundMessage when nothing is at the path (readIfsFile only). The device is read in
// pieces and only as far as needed: a device that states a size beyond the limit is refused
// without reading, an overlong line after kMaxIfsLineBytes of it.
//
// The format: `;` starts a comment that runs to the end of the line. An entry is a name,
// optional text and `{` on one line, then numbers separated by blanks, commas or line breaks,
// then `}`. The name runs to the first space, tab (or other blank), `(`, `;` or `{`. A header
// holding "(3D)" in any case makes the entry three-dimensional, of thirteen numbers a map; other
// entries take seven a map (a b c d e f p), a line holding whole maps or a part of one map. CR, LF
// and CR LF all end lines; a UTF-8 byte order mark is skipped.
Result<std::vector<IfsEntry>> readIfs(QIODevice& device);
Result<std::vector<IfsEntry>> readIfsFile(const QString& path);

// The entry whose name matches `name` without regard to case; the first entry when `name` is
// empty. Null when there is no such entry.
const IfsEntry* findEntry(const std::vector<IfsEntry>& entries, const QString& name);

}  // namespace quill
