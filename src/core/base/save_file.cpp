#include "core/base/save_file.h"

#include <unistd.h>

#include <QDir>
#include <QIODevice>
#include <QSaveFile>
#include <QTemporaryFile>
#include <cerrno>

#include "core/base/in_place_write.h"

namespace quill {

namespace {

using StreamWriter = std::function<Status(QIODevice& device)>;

Failure failureOf(int error, const SaveMessages& messages) {
  return Failure{error == ENOSPC || error == EDQUOT ? messages.diskFull : messages.other};
}

// Why a write into a file stopped. A device error is the cause, whatever `write` made of it;
// only a failed write means a full disk: Qt reports ENOSPC as a resource error, and at open
// time that error stands for other shortages (too many open files).
Failure stopped(const QFileDevice& file, const Status& written, const SaveMessages& messages) {
  if (!written && file.error() == QFileDevice::NoError) return Failure{written.message()};
  return Failure{file.error() == QFileDevice::ResourceError ? messages.diskFull : messages.other};
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// The target's folder takes no new file, so the bytes are made ready in the system's temporary
// folder (the one place on the target's own disk the user chose has just refused) and copied
// into the open target only once they are complete: a cancelled or failed write, or a disk
// without room for them, leaves the target as it was.
Status writeStaged(int targetFd, const SaveMessages& messages, const StreamWriter& write) {
  const Descriptor target(targetFd);
  QTemporaryFile staging(QDir(QDir::tempPath()).filePath(QStringLiteral("quillmere-XXXXXX")));
  if (!staging.open()) return Failure{messages.other};
  const Status written = write(staging);
  if (!written || !staging.flush()) return stopped(staging, written, messages);
  if (const int error = overwriteInPlace(target.get(), int(staging.handle()), staging.size());
      error != 0) {
    return failureOf(error, messages);
  }
  return {};
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
                          const StreamWriter& write) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    // No temporary file beside the target: a read-only folder. The file itself may still be
    // writable; then its new bytes are staged elsewhere first.
    const int target = openForWritingInPlace(path);
    if (target < 0) return Failure{messages.other};
    return writeStaged(target, messages, write);
  }
  const Status written = write(file);
  if (!written || !file.flush()) {
    const Failure failed = stopped(file, written, messages);
    file.cancelWriting();
    return failed;
  }
  if (!file.commit()) return stopped(file, written, messages);
  return {};
}

}  // namespace quill
