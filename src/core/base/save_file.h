#pragma once

#include <QByteArray>
#include <QString>
#include <atomic>
#include <functional>

class QIODevice;

#include "core/base/result.h"

namespace quill {

// How a writer words its two kinds of failure.
struct SaveMessages {
  QString diskFull;
  QString other;
};

// The name under which the writers below write to standard output (quillmere-render's "-").
// No file can carry it, so nothing a user types or picks is taken for it.
const QString& standardOutputName();

// Writes `bytes` to `path` through a temporary file beside it that replaces the target only
// once complete, so a failed save leaves an earlier file as it was. Where the folder takes no
// new file but the target is writable, the bytes are made ready elsewhere and copied into the
// target once complete and once its disk has room for them. A FIFO or a device is written to,
// never replaced; standardOutputName() writes to standard output. Fails with
// `messages.diskFull` when the disk fills, with `messages.other` otherwise.
Status writeFileAtomically(const QString& path, const QByteArray& bytes,
                           const SaveMessages& messages);

// writeFileAtomically for a file too large to hold: `write` streams it into the device and returns
// a failure of its own to give up (cancelled, say), the target left as it was. A failed write to
// the device is reported as writeFileAtomically reports it, whatever `write` returns.
Status writeFileStreaming(const QString& path, const SaveMessages& messages,
                          const std::function<Status(QIODevice& device)>& write);

// writeFileStreaming that waits, while `cancel` is clear, for a FIFO's reader to come and for a
// slow reader to take the bytes; setting it ends the wait and the write fails. Without a flag a
// FIFO that nobody reads is refused at once.
Status writeFileStreaming(const QString& path, const SaveMessages& messages,
                          const std::function<Status(QIODevice& device)>& write,
                          const std::atomic<bool>* cancel);

// What a command writes its files through: writeFileAtomically in the program; tests put a
// writer in its place that fails as a full disk does, where they cannot fill a real one.
using FileWriter = std::function<Status(const QString& path, const QByteArray& bytes,
                                        const SaveMessages& messages)>;

}  // namespace quill
