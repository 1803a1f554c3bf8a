#include "core/base/save_file.h"

#include <QSaveFile>

namespace quill {

Status writeFileAtomically(const QString& path, const QByteArray& bytes,
                           const SaveMessages& messages) {
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
  if (file.write(bytes) != bytes.size() || !file.flush()) {
    const Failure failed = failure();
    file.cancelWriting();
    return failed;
  }
  if (!file.commit()) return failure();
  return {};
}

}  // namespace quill
