#include "core/base/save_file.h"

#include <QIODevice>
#include <QSaveFile>

namespace quill {

namespace {

// A write that stops short on a full disk sets no error, or only a general one: Qt keeps the cause
// only when not a byte was written. One byte more into the file, which is discarded anyway, meets
// the full disk again and brings the cause out, so a disk that fills during the write is reported
// as one that was full before it.
void revealCause(QSaveFile& file) {
  if (file.error() == QFileDevice::ResourceError) return;
  file.write("\n", 1);
  file.flush();
}

}  // namespace

Status writeFileAtomically(const QString& path, const QByteArray& bytes,
                           const SaveMessages& messages) {
  return writeFileStreaming(path, messages, [&bytes, &messages](QIODevice& device) -> Status {
    if (device.write(bytes) != bytes.size()) return Failure{messages.other};
    return {};
  });
}

Status writeFileStreaming(const QString& path, const SaveMessages& messages,
                          const std::function<Status(QIODevice& device)>& write) {
  QSaveFile file(path);
  // Beside a file in a folder the user may not write to, no temporary file can be made; the file
  // itself may still be writable, and then it is written in place.
  file.setDirectWriteFallback(true);
  if (!file.open(QIODevice::WriteOnly)) return Failure{messages.other};
  // Only a failed write means a full disk: Qt reports ENOSPC as a resource error, and at open
  // time that error stands for other shortages (too many open files).
  const auto failure = [&file, &messages] {
    return Failure{file.error() == QFileDevice::ResourceError ? messages.diskFull : messages.other};
  };
  const Status written = write(file);
  if (!written || !file.flush()) {
    // The writer's own reasons to stop (a cancel) are no device failure.
    if (written || written.message() == messages.other) revealCause(file);
    // A device error is the cause, whatever `write` made of it.
    const Failure failed =
        written || file.error() != QFileDevice::NoError ? failure() : Failure{written.message()};
    file.cancelWriting();
    return failed;
  }
  if (!file.commit()) return failure();
  return {};
}

}  // namespace quill
