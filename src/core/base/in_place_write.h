#pragma once

#include <QString>

namespace quill {

// Opens `path` for writing without truncating it when it is an existing regular file the user
// may write to; -1 otherwise. For a file in a folder that takes no new file.
int openForWritingInPlace(const QString& path);

// Replaces the contents of the regular file open as `target` by the first `size` bytes of
// `source`. Room for them is made sure of before the first byte of the target changes; only a
// failing disk can leave the target half written. Returns 0, or the errno of the failure
// (ENOSPC when the disk cannot hold the bytes).
int overwriteInPlace(int target, int source, qint64 size);

}  // namespace quill
