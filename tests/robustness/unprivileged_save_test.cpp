#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "core/devices/save_picture.h"
#include "core/params/param_file.h"
#include "support/fakes.h"

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
// file there, so the file is written in place. A file that is not writable either is refused
// and stays as it was.
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
    cmdSaveParam_Click(f.document);
    pictureSaved = writePicture(image, picture);
    cmdSaveParam_Click(f.document);
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

}  // namespace
}  // namespace quill
