#include "core/base/save_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <atomic>
#include <optional>
#include <thread>

#include "support/fifo_reader.h"
#include "support/row_name.h"

namespace quill {
namespace {

enum class Special { NullDevice, FullDevice, ReadFifo, UnreadFifo, UnreadFifoUntilCancel };

struct SpecialTargetCase {
  const char* name;
  Special target;
  const char* message;  // empty: written
};

void PrintTo(const SpecialTargetCase& c, std::ostream* out) { *out << c.name; }

class SpecialTarget : public ::testing::TestWithParam<SpecialTargetCase> {};

// A device node of its own where root may make one, so that a writer that replaced its target
// would harm nothing; else the system's own, which an unprivileged writer cannot replace.
QString deviceAt(const QTemporaryDir& dir, const char* name, unsigned minor) {
  const QString path = dir.filePath(QString::fromLatin1(name));
  if (::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0666, makedev(1, minor)) == 0) {
    return path;
  }
  return ::geteuid() == 0 ? QString() : QStringLiteral("/dev/") + QString::fromLatin1(name);
}

bool sameKind(const QString& path, mode_t kind) {
  struct stat status = {};
  return ::lstat(QFile::encodeName(path).constData(), &status) == 0 &&
         (status.st_mode & S_IFMT) == kind;
}

// A FIFO or a device is written into, never replaced by a file renamed over it; a full device
// says so; a FIFO that nobody reads is waited for only while the wait can be cancelled.
TEST_P(SpecialTarget, IsWrittenIntoAndKept) {
  const SpecialTargetCase& c = GetParam();
  QTemporaryDir dir;
  const bool fifo = c.target != Special::NullDevice && c.target != Special::FullDevice;
  QString path;
  if (fifo) {
    path = dir.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
  } else {
    const bool full = c.target == Special::FullDevice;
    path = deviceAt(dir, full ? "full" : "null", full ? 7 : 3);
    if (path.isEmpty()) GTEST_SKIP() << "cannot make a device node here";
  }
  const QByteArray bytes(200 * 1024, 'b');  // more than a pipe holds
  std::optional<testing::FifoReader> reader;
  if (c.target == Special::ReadFifo) reader.emplace(path);
  std::atomic<bool> cancel{false};
  std::thread canceller;
  if (c.target == Special::UnreadFifoUntilCancel) {
    canceller = std::thread([&cancel] {
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
      cancel.store(true);
    });
  }
  const SaveMessages messages = {QStringLiteral("disk full"), QStringLiteral("other")};
  const Status written = writeFileStreaming(
      path, messages,
      [&bytes](QIODevice& device) -> Status {
        if (device.write(bytes) != bytes.size()) return Failure{QStringLiteral("short")};
        return {};
      },
      c.target == Special::UnreadFifo ? nullptr : &cancel);
  if (canceller.joinable()) canceller.join();

  EXPECT_EQ(written.message(), QString::fromLatin1(c.message));
  EXPECT_TRUE(sameKind(path, fifo ? S_IFIFO : S_IFCHR));
  if (reader) {
    EXPECT_EQ(reader->stop(), bytes);
  }
  const QStringList beside = QDir(dir.path()).entryList(QDir::Files | QDir::System | QDir::Hidden);
  EXPECT_EQ(beside,
            path.startsWith(dir.path()) ? QStringList{QFileInfo(path).fileName()} : QStringList{})
      << "nothing left beside it";
}

INSTANTIATE_TEST_SUITE_P(
    SaveFile, SpecialTarget,
    ::testing::Values(SpecialTargetCase{"null device", Special::NullDevice, ""},
                      SpecialTargetCase{"full device", Special::FullDevice, "disk full"},
                      SpecialTargetCase{"FIFO with a reader", Special::ReadFifo, ""},
                      SpecialTargetCase{"FIFO nobody reads, no cancel", Special::UnreadFifo,
                                        "other"},
                      SpecialTargetCase{"FIFO nobody reads, then cancel",
                                        Special::UnreadFifoUntilCancel, "other"}),
    testing::RowName());

}  // namespace
}  // namespace quill
