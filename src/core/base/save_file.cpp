#include "core/base/save_file.h"

#include <QIODevice>
#include <QSaveFile>

namespace quill {

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
