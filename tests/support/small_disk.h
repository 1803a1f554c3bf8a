#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace quill::testing {

// A tiny filesystem of its own (tmpfs), so a test can fill it and watch a save run out of space
// for real. Mounting needs root; where it is not allowed, mounted() is false and the test skips.
class SmallDisk {
 public:
  explicit SmallDisk(int kilobytes) {
    if (!dir_.isValid()) return;
    const int status = QProcess::execute(
        QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                  QStringLiteral("size=%1k").arg(kilobytes), QStringLiteral("tmpfs"),
                                  dir_.path()});
    mounted_ = status == 0;
  }
  ~SmallDisk() {
    if (mounted_) QProcess::execute(QStringLiteral("umount"), {dir_.path()});
  }
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;

  bool mounted() const { return mounted_; }
  QString path(const QString& name) const { return dir_.filePath(name); }

  // Fills the disk with one file until no byte more fits.
  void fill() const {
    QFile filler(path(QStringLiteral(".filler")));
    if (!filler.open(QIODevice::WriteOnly)) return;
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
    // A last partial block: write byte by byte until even that fails.
    while (filler.write("x", 1) == 1 && filler.flush()) {
    }
  }

 private:
  QTemporaryDir dir_;
  bool mounted_ = false;
};

}  // namespace quill::testing
