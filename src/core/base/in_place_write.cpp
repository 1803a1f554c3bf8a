#include "core/base/in_place_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <vector>

namespace quill {

namespace {

constexpr std::size_t kCopyBlock = 1 << 20;

// Makes sure the disk holds `size` bytes for the target before any of its bytes change.
// fallocate keeping the size reserves the blocks beyond the old end without changing what the
// file reads, so a refusal leaves it as it was. Where the file system cannot reserve, the free
// space is compared instead; that is a check, not a promise, on a disk that others fill too.
int reserve(int target, qint64 size) {
  if (size == 0) return 0;
  if (::fallocate(target, FALLOC_FL_KEEP_SIZE, 0, off_t(size)) == 0) return 0;
  if (errno != EOPNOTSUPP && errno != ENOSYS) return errno;
  struct stat status = {};
  struct statvfs disk = {};
  if (::fstat(target, &status) != 0 || ::fstatvfs(target, &disk) != 0) return errno;
  // The blocks the file holds are written over, so only the rest must be free.
  const qint64 held = qint64(status.st_blocks) * 512;
  const qint64 free = qint64(disk.f_bavail) * qint64(disk.f_frsize);
  return size - held > free ? ENOSPC : 0;
}

int copyBytes(int target, int source, qint64 size) {
  std::vector<char> block(kCopyBlock);
  for (qint64 offset = 0; offset < size;) {
    const ssize_t got =
        ::pread(source, block.data(),
                std::size_t(std::min<qint64>(size - offset, qint64(block.size()))), off_t(offset));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return got < 0 ? errno : EIO;
    for (ssize_t done = 0; done < got;) {
      const ssize_t put =
          ::pwrite(target, block.data() + done, std::size_t(got - done), off_t(offset + done));
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) return put < 0 ? errno : EIO;
      done += put;
    }
    offset += got;
  }
  return 0;
}

}  // namespace

int openForWritingInPlace(const QString& path) {
  const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat status = {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

int overwriteInPlace(int target, int source, qint64 size) {
  if (const int reserved = reserve(target, size); reserved != 0) return reserved;
  // Written over from the start, never truncated first: the reserved blocks stay the file's.
  if (const int copied = copyBytes(target, source, size); copied != 0) return copied;
  if (::ftruncate(target, off_t(size)) != 0) return errno;
  if (::fdatasync(target) != 0) return errno;
  return 0;
}

}  // namespace quill
