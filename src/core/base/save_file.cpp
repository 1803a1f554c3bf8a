#include "core/base/save_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QIODevice>
#include <QSaveFile>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>

#include "core/base/descriptor_stream.h"
#include "core/base/in_place_write.h"

namespace quill {

namespace {

using StreamWriter = std::function<Status(QIODevice& device)>;

Failure failureOf(int error, const SaveMessages& messages) {
  return Failure{error == ENOSPC || error == EDQUOT ? messages.diskFull : messages.other};
}

// A write that stops short on a full disk sets no error, or only a general one: Qt keeps the cause
// only when not a byte was written. One byte more into the file, which is discarded anyway, meets
// the full disk again and brings the cause out, so a disk that fills during the write is reported
// as one that was full before it.
void revealCause(QFileDevice& file) {
  if (file.error() == QFileDevice::ResourceError) return;
  file.write("\n", 1);
  file.flush();
}

// Why a write into a file that is then discarded stopped. A device error is the cause, whatever
// `write` made of it; only a failed write means a full disk: Qt reports ENOSPC as a resource
// error, and at open time that error stands for other shortages (too many open files).
Failure stopped(QFileDevice& file, const Status& written, const SaveMessages& messages) {
  // The writer's own reasons to stop (a cancel) are no device failure.
  if (written || written.message() == messages.other) revealCause(file);
  if (!written && file.error() == QFileDevice::NoError) return Failure{written.message()};
  return Failure{file.error() == QFileDevice::ResourceError ? messages.diskFull : messages.other};
}

// Streams into a descriptor that is written as it stands: standard output, a FIFO, a device.
Status streamInto(int fd, bool owned, const SaveMessages& messages, const StreamWriter& write,
                  const std::atomic<bool>* cancel) {
  DescriptorStream stream(fd, owned, cancel);
  stream.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
  const Status written = write(stream);
  if (written && stream.drain()) return {};
  if (stream.failure() != 0) return failureOf(stream.failure(), messages);
  return written;
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

const QString& standardOutputName() {
  static const QString name = QString(QChar(u'\0')) + QStringLiteral("standard output");
  return name;
}

Status writeFileAtomically(const QString& path, const QByteArray& bytes,
                           const SaveMessages& messages) {
  return writeFileStreaming(path, messages, [&bytes, &messages](QIODevice& device) -> Status {
    if (device.write(bytes) != bytes.size()) return Failure{messages.other};
    return {};
  });
}

Status writeFileStreaming(const QString& path, const SaveMessages& messages,
                          const StreamWriter& write) {
  return writeFileStreaming(path, messages, write, nullptr);
}

Status writeFileStreaming(const QString& path, const SaveMessages& messages,
                          const StreamWriter& write, const std::atomic<bool>* cancel) {
  if (path == standardOutputName()) {
    std::fflush(stdout);  // what stdio holds comes first
    return streamInto(STDOUT_FILENO, false, messages, write, cancel);
  }
  // A FIFO or a device is written into: a file renamed over it would leave its reader nothing.
  struct stat status = {};
  if (::stat(QFile::encodeName(path).constData(), &status) == 0 && !S_ISREG(status.st_mode) &&
      !S_ISDIR(status.st_mode)) {
    const int fd = openSpecialFile(path, cancel);
    if (fd < 0) return Failure{messages.other};
    return streamInto(fd, true, messages, write, cancel);
  }
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
  // The last bytes reach the disk in the commit; a full disk then reports itself.
  if (!file.commit()) {
    return Failure{file.error() == QFileDevice::ResourceError ? messages.diskFull : messages.other};
  }
  return {};
}

}  // namespace quill
