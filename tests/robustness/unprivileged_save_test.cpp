#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include "core/base/save_file.h"
#include "core/params/param_file.h"
#include "core/picture/image_file.h"
#include "support/fakes.h"
#include "support/row_name.h"
#include "support/scratch_mount.h"

namespace quill {
namespace {

// Root writes anywhere, so a root test runs its save with the effective ids of "nobody" and gets
// its own back afterwards; an unprivileged test is unprivileged already.
class AsUnprivilegedUser {
 public:
  AsUnprivilegedUser() {
    if (::geteuid() != 0) return;
    dropped_ = ::setegid(kNobody) == 0 && ::seteuid(kNobody) == 0;
  }
  ~AsUnprivilegedUser() {
    if (dropped_) {
      [[maybe_unused]] const int user = ::seteuid(0);
      [[maybe_unused]] const int group = ::setegid(0);
    }
  }
  AsUnprivilegedUser(const AsUnprivilegedUser&) = delete;
  AsUnprivilegedUser& operator=(const AsUnprivilegedUser&) = delete;

  bool unprivileged() const { return ::geteuid() != 0; }

 private:
  static constexpr uid_t kNobody = 65534;
  bool dropped_ = false;
};

QByteArray contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

constexpr auto kEveryoneReads = QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                QFileDevice::ReadOther | QFileDevice::ExeOther |
                                QFileDevice::ReadGroup | QFileDevice::ExeGroup;
constexpr auto kEveryoneWrites = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                 QFileDevice::ReadOther | QFileDevice::WriteOther |
                                 QFileDevice::ReadGroup | QFileDevice::WriteGroup;

// A writable file in a folder that takes no new file: the atomic save cannot make its temporary
// file there, so the new bytes are made ready elsewhere and copied in. A file that is not
// writable either is refused and stays as it was.
TEST(UnprivilegedSave, WritesInPlaceBesideAReadOnlyFolderAndRefusesAReadOnlyFile) {
  QTemporaryDir dir;
  const QString params = dir.filePath(QStringLiteral("maps.dat"));
  const QString picture = dir.filePath(QStringLiteral("picture.png"));
  const QString locked = dir.filePath(QStringLiteral("locked.dat"));
  for (const QString& path : {params, picture, locked}) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("earlier");
    file.close();
    QFile::setPermissions(path, path == locked ? QFileDevice::Permissions(kEveryoneReads)
                                               : QFileDevice::Permissions(kEveryoneWrites));
  }
  ASSERT_TRUE(QFile::setPermissions(dir.path(), kEveryoneReads));

  testing::PanelFixture f;
  f.setRow(1, {"0.5", "0", "0", "0.5", "0", "0", "1"});
  f.dialogs.saveAnswers = {params, locked};
  QImage image(8, 8, QImage::Format_RGB32);
  image.fill(Qt::green);
  Status pictureSaved = Failure{};
  {
    const AsUnprivilegedUser user;
    if (!user.unprivileged()) GTEST_SKIP() << "cannot take an unprivileged user's ids here";
    saveParameters(f.document);
    pictureSaved = writePicture(image, picture);
    saveParameters(f.document);
  }
  QFile::setPermissions(dir.path(),
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

  EXPECT_EQ(contents(params), "1\r\n0.5,0,0,0.5,0,0,1\r\n");
  EXPECT_TRUE(pictureSaved) << pictureSaved.message().toStdString();
  EXPECT_EQ(QImage(picture).pixel(3, 3), QColor(Qt::green).rgb());
  EXPECT_EQ(f.dialogs.messages, QStringList{"Cannot save parameters. Please try again."});
  EXPECT_EQ(contents(locked), "earlier");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
}

// The system's temporary folder moved for one test.
class TemporaryFolderAt {
 public:
  explicit TemporaryFolderAt(const QString& folder) : earlier_(qgetenv("TMPDIR")) {
    qputenv("TMPDIR", QFile::encodeName(folder));
  }
  ~TemporaryFolderAt() {
    if (earlier_.isNull()) {
      qunsetenv("TMPDIR");
    } else {
      qputenv("TMPDIR", earlier_);
    }
  }
  TemporaryFolderAt(const TemporaryFolderAt&) = delete;
  TemporaryFolderAt& operator=(const TemporaryFolderAt&) = delete;

 private:
  QByteArray earlier_;
};

struct StagedSaveCase {
  const char* name;
  int earlierBytes;      // of the file written over
  bool targetDiskFull;   // the target's disk has no room for the new bytes
  bool stagingDiskFull;  // nor has the system's temporary folder
  bool givesUp;          // the writer stops halfway, as a cancelled render does
  const char* message;   // empty: written
};

void PrintTo(const StagedSaveCase& c, std::ostream* out) { *out << c.name; }

class StagedSave : public ::testing::TestWithParam<StagedSaveCase> {};

// Where the folder takes no new file, the new bytes are made ready in the system's temporary
// folder and copied into the writable target only once complete and once its disk has room:
// whatever stops the write before that leaves the earlier bytes, and no file is left behind.
TEST_P(StagedSave, TouchesTheTargetOnlyWithTheCompleteBytes) {
  const StagedSaveCase& c = GetParam();
  testing::ScratchMount targetDisk(1024);
  testing::ScratchMount stagingDisk(1024);
  if (!targetDisk.mounted() || !stagingDisk.mounted()) {
    GTEST_SKIP() << "cannot mount a small filesystem here";
  }
  const QString path = targetDisk.filePath(QStringLiteral("earlier.dat"));
  const QByteArray earlier(c.earlierBytes, 'e');
  {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(earlier), earlier.size());
  }
  QFile::setPermissions(path, kEveryoneWrites);
  if (c.targetDiskFull) {
    ASSERT_TRUE(targetDisk.fill());
  }
  if (c.stagingDiskFull) {
    ASSERT_TRUE(stagingDisk.fill());
  }
  const QString stagingFolder = QFileInfo(stagingDisk.filePath(QStringLiteral("x"))).path();
  ASSERT_TRUE(QFile::setPermissions(QFileInfo(path).path(), kEveryoneReads));
  ASSERT_TRUE(QFile::setPermissions(stagingFolder, kEveryoneReads | kEveryoneWrites));

  const QByteArray fresh(128 * 1024, 'n');
  const SaveMessages messages = {QStringLiteral("disk full"), QStringLiteral("other")};
  Status saved = Failure{};
  {
    const TemporaryFolderAt staging(stagingFolder);
    const AsUnprivilegedUser user;
    if (!user.unprivileged()) GTEST_SKIP() << "cannot take an unprivileged user's ids here";
    saved = writeFileStreaming(path, messages, [&](QIODevice& device) -> Status {
      for (qsizetype at = 0; at < fresh.size(); at += 4096) {
        if (c.givesUp && at == fresh.size() / 2) return Failure{QStringLiteral("gave up")};
        if (device.write(fresh.mid(at, 4096)) != 4096) return Failure{QStringLiteral("failed")};
      }
      return {};
    });
  }

  EXPECT_EQ(saved.message(), QString::fromLatin1(c.message));
  EXPECT_EQ(contents(path), saved ? fresh : earlier);
  const QStringList filler = c.targetDiskFull ? QStringList{"filler"} : QStringList{};
  EXPECT_EQ(targetDisk.entries(), QStringList{"earlier.dat"} + filler);
  EXPECT_EQ(stagingDisk.entries(),
            c.stagingDiskFull ? QStringList{"filler"} : QStringList{});  // no staging left
}

INSTANTIATE_TEST_SUITE_P(
    BesideAReadOnlyFolder, StagedSave,
    ::testing::Values(StagedSaveCase{"longer", 7, false, false, false, ""},
                      StagedSaveCase{"shorter", 300 * 1024, false, false, false, ""},
                      StagedSaveCase{"cancelled halfway", 7, false, false, true, "gave up"},
                      StagedSaveCase{"target disk full", 7, true, false, false, "disk full"},
                      StagedSaveCase{"staging disk full", 7, false, true, false, "disk full"}),
    testing::RowName());

}  // namespace
}  // namespace quill
