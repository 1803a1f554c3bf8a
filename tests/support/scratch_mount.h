#pragma once

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QTemporaryDir>
#include <cerrno>
#include <string>

namespace quill::testing {

// A small tmpfs mounted on a fresh temporary folder, so a save can meet a disk that is really
// full or really read-only. Mounting needs root; where it is refused, mounted() is false and
// the test falls back or skips. Never a device node: an atomic save would replace it.
class ScratchMount {
 public:
  explicit ScratchMount(int kibibytes) : options_("size=" + std::to_string(kibibytes) + "k") {
    if (!dir_.isValid()) return;
    mounted_ =
        ::mount("tmpfs", path().constData(), "tmpfs", MS_NOSUID | MS_NODEV, options_.c_str()) == 0;
  }
  ~ScratchMount() {
    if (mounted_) ::umount2(path().constData(), MNT_DETACH);
  }
  ScratchMount(const ScratchMount&) = delete;
  ScratchMount& operator=(const ScratchMount&) = delete;

  bool mounted() const { return mounted_; }
  QString filePath(const QString& name) const { return QDir(dir_.path()).filePath(name); }
  QStringList entries() const {
    return QDir(dir_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
  }

  // Writes a filler file until the filesystem refuses another byte.
  bool fill() const {
    const int fd = ::open(filePath(QStringLiteral("filler")).toLocal8Bit().constData(),
                          O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return false;
    const QByteArray chunk(4096, 'x');
    for (qsizetype size = chunk.size(); size > 0; size /= 2) {
      while (::write(fd, chunk.constData(), std::size_t(size)) == size) {
      }
    }
    const bool full = errno == ENOSPC;
    ::close(fd);
    return full;
  }

  bool makeReadOnly() const {
    return ::mount(nullptr, path().constData(), nullptr,
                   MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV, options_.c_str()) == 0;
  }

 private:
  QByteArray path() const { return dir_.path().toLocal8Bit(); }

  QTemporaryDir dir_;
  std::string options_;
  bool mounted_ = false;
};

}  // namespace quill::testing
