#pragma once

#include <QByteArray>
#include <QString>
#include <span>

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
QByteArray ifsText(const QString& name, std::span<const IfsMap> maps);

}  // namespace quill
