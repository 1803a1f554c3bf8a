#include "core/commands/save_picture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "core/canvas/canvas.h"
#include "core/picture/image_file.h"
#include "support/fakes.h"
#include "support/scratch_mount.h"

namespace quill {
namespace {

QImage drawing() {
  Canvas canvas(320, 200, 15.0, rgb(0, 0, 0));
  for (int i = 0; i < 200; ++i) canvas.pset(float(i * 15 + 7), float(i * 7 % 3000), rgb(0, 200, 0));
  canvas.line(0, 0, 4000, 2900, rgb(255, 0, 0));
  return canvas.picture();
}

QByteArray contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(SavePicture, WritesTheDrawingPixelForPixel) {
  QTemporaryDir dir;
  const QImage picture = drawing();
  for (const char* name : {"fern.png", "fern.bmp", "fern.PNG"}) {
    SCOPED_TRACE(name);
    const QString path = dir.filePath(QString::fromLatin1(name));
    ASSERT_TRUE(writePicture(picture, path));
    const QImage back(path);
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), picture);
  }
}

TEST(SavePicture, AsksForANameAddsPngAndDoesNothingOnCancel) {
  QTemporaryDir dir;
  testing::ScriptedDialogs dialogs;
  savePicture(drawing(), dialogs);  // Cancel: no name
  EXPECT_TRUE(QDir(dir.path()).isEmpty());
  dialogs.pictureAnswers = {dir.filePath(QStringLiteral("fern"))};
  savePicture(drawing(), dialogs);
  EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("fern.png"))));
  dialogs.pictureAnswers = {dir.filePath(QStringLiteral("fern.nosuchformat"))};
  savePicture(drawing(), dialogs);
  ASSERT_EQ(dialogs.messages.size(), 1);
  EXPECT_TRUE(dialogs.messages[0].startsWith("Cannot save the picture: unknown image format."));
}

TEST(SavePicture, AFailedSaveLeavesTheEarlierFileIntact) {
  QTemporaryDir dir;
  testing::ScriptedDialogs dialogs;
  {
    SCOPED_TRACE("missing folder");
    dialogs.pictureAnswers = {dir.filePath(QStringLiteral("no/such/folder/x.png"))};
    savePicture(drawing(), dialogs);
    EXPECT_EQ(dialogs.messages.last(), "Cannot save the picture. Please try again.");
  }
  {
    SCOPED_TRACE("target is a folder");
    QDir(dir.path()).mkdir(QStringLiteral("taken.png"));
    dialogs.pictureAnswers = {dir.filePath(QStringLiteral("taken.png"))};
    savePicture(drawing(), dialogs);
    EXPECT_EQ(dialogs.messages.last(), "Cannot save the picture. Please try again.");
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("taken.png"))).isDir());
  }
  {
    SCOPED_TRACE("no memory for the picture");
    const QString path = dir.filePath(QStringLiteral("none.png"));
    EXPECT_EQ(writePicture(QImage(), path).message(), "Not enough memory to draw this picture.");
    EXPECT_FALSE(QFile::exists(path));
  }
  {
    SCOPED_TRACE("disk full");
    testing::ScratchMount disk(64);
    if (!disk.mounted()) GTEST_SKIP() << "cannot mount a small filesystem here";
    const QString path = disk.filePath(QStringLiteral("earlier.png"));
    QFile earlier(path);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier picture");
    earlier.close();
    ASSERT_TRUE(disk.fill());
    dialogs.pictureAnswers = {path};
    savePicture(drawing(), dialogs);
    EXPECT_EQ(dialogs.messages.last(), "Cannot save the picture: disk full.");
    EXPECT_EQ(contents(path), QByteArray("earlier picture"));
    EXPECT_EQ(disk.entries(), (QStringList{"earlier.png", "filler"}));  // no temporary left
  }
}

}  // namespace
}  // namespace quill
