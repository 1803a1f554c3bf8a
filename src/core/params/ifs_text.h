#pragma once

#include <QByteArray>
#include <QString>
#include <span>

#include "core/base/result.h"
#include "core/params/ifs_file.h"

namespace quill {

// The name an entry written as `name` gets: spaces replaced by underscores, and so are the other
// characters that would end or break the name when read back (tab, line breaks, `(`, `;`, `{`,
// `}`, vertical tab, form feed, NUL, a leading byte order mark); an empty name becomes
// "Quillmere".
QString ifsEntryName(const QString& name);

// One entry named ifsEntryName(name), a comment line saying Quillmere wrote it, then one map a
// line, each number in the shortest form that reads back to the same double, p kept as given.
// Lines end in LF. The numbers must be finite (as the grid's reading ensures); any other is
// written as 0 so that the file still reads.
QByteArray ifsText(const QString& name, std::span<const WeightedMap> maps);

// %1: the most megabytes, %2: the most entries.
inline const QString kCollectionFullText = QStringLiteral(QT_TRANSLATE_NOOP(
    "Messages", "Cannot add to the collection: an .ifs file holds at most %1 MB and %2 entries."));
inline const QString kCollectionFullMessage =
    kCollectionFullText.arg(kMaxIfsFileBytes >> 20).arg(kMaxIfsEntries);

// The .ifs file `file` with the entry ifsText(name, maps) added: in place of the entry that
// findEntry finds by the entry's name, or after the file's last byte (on a line of its own,
// a blank line before it). Every other byte is kept, and the entry's lines end as the file's
// first line does. Fails with the reader's message when `file` does not read as .ifs, and with
// kCollectionFullMessage when the result would pass the reader's limits.
Result<QByteArray> addToCollection(const QByteArray& file, const QString& name,
                                   std::span<const WeightedMap> maps);

// What "Add to the collection" writes to `path`: addToCollection of the regular file there, read
// with the reader's limits and messages; the entry alone where there is no regular file (nothing
// yet, or a device or pipe, which has no collection to keep).
Result<QByteArray> collectionWithEntry(const QString& path, const QString& name,
                                       std::span<const WeightedMap> maps);

}  // namespace quill
