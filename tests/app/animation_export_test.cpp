// The Animation window's "Export...": its frames are quillmere-render's for the same keys and
// picture settings, and a cancel leaves an earlier movie as it was.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>

#include "app/animation_window.h"
#include "app/picture_dialog.h"
#include "core/movie/movie_export.h"
#include "support/render_tool.h"
#include "support/running_program.h"
#include "support/wait.h"

namespace quill {
namespace {

using testing::waitUntil;

// Sierpinski at 0 s and Fern at 1 s in the Animation window; Render Picture open beside it.
class AnimationExportTest : public testing::RunningProgram {
 protected:
  void SetUp() override {
    startWith(kSierpinskiPattern);
    trigger(QStringLiteral("animationAction"));
    window = program.controlPanel->animationWindow();
    ASSERT_NE(window, nullptr);
    window->addKey();
    pick(kFernPattern);
    window->addKey();
    trigger(QStringLiteral("renderPictureAction"));
    picture = program.controlPanel->pictureDialog();
    ASSERT_NE(picture, nullptr);
  }
  template <typename Widget>
  Widget* field(const char* name) {
    return picture->findChild<Widget*>(QString::fromLatin1(name));
  }
  void setPicture(int width, int height, PictureMode mode, const QString& count, Shading shading) {
    field<QSpinBox>("pictureWidth")->setValue(width);
    field<QSpinBox>("pictureHeight")->setValue(height);
    field<QComboBox>("pictureMode")->setCurrentIndex(int(mode));
    field<QLineEdit>(mode == PictureMode::Fractal ? "pictureDepth" : "picturePoints")
        ->setText(count);
    field<QComboBox>("pictureShading")->setCurrentIndex(int(shading));
  }
  void exportTo(const QString& path, int frames, bool agreed) {
    window->setMovieAsker([=](const AnimationWindow::MovieChoice&) {
      return AnimationWindow::MovieChoice{frames, 25, path, agreed};
    });
    window->exportMovie();
  }
  QString status() const {
    return window->findChild<QLabel*>(QStringLiteral("exportStatus"))->text();
  }

  QTemporaryDir dir;
  AnimationWindow* window = nullptr;
  PictureDialog* picture = nullptr;
};

TEST_F(AnimationExportTest, NumberedPicturesAreThoseQuillmereRenderWrites) {
  const QString keys = dir.filePath(QStringLiteral("keys.qmanim"));
  window->setFileNameAsker([&](bool) { return keys; });
  window->saveAnimation();
  const struct {
    const char* name;
    PictureMode mode;
    const char* count;
    Shading shading;
    QStringList options;
  } cases[] = {
      {"chaos game, density",
       PictureMode::ChaosGame,
       "20000",
       Shading::Density,
       {"--mode", "chaos", "--iterations", "20000", "--shade", "density"}},
      // The fern's frames draw the square figure, the gasket's the triangle.
      {"fractal",
       PictureMode::Fractal,
       "4",
       Shading::Flat,
       {"--mode", "fractal", "--iterations", "4"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    setPicture(96, 72, c.mode, QString::fromLatin1(c.count), c.shading);
    const QString mine = dir.filePath(QStringLiteral("%1_window_%05d.png").arg(int(c.mode)));
    exportTo(mine, 3, false);
    ASSERT_TRUE(waitUntil([this] { return !window->exporting(); }, 60000));
    ASSERT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join(u'|').toStdString();
    EXPECT_TRUE(status().startsWith(QStringLiteral("Written to"))) << status().toStdString();

    const QString theirs = dir.filePath(QStringLiteral("%1_tool_%05d.png").arg(int(c.mode)));
    const testing::ToolRun run = testing::runRender(
        QStringList{"--animate", keys, "--frames", "3", "--size", "96x72", "--output", theirs} +
        c.options);
    ASSERT_EQ(run.status, 0) << run.errors.toStdString();
    for (int frame = 1; frame <= 3; ++frame) {
      const QByteArray written = testing::fileBytes(framePath(mine, frame));
      EXPECT_FALSE(written.isEmpty()) << "frame " << frame;
      EXPECT_TRUE(written == testing::fileBytes(framePath(theirs, frame))) << "frame " << frame;
    }
  }
}

// A typed name of another program's file is replaced once the user agrees; the movie this window
// wrote is replaced without asking, and a cancel leaves it as it was.
TEST_F(AnimationExportTest, ACancelledExportLeavesTheOldGifAsItWas) {
  const QString movie = dir.filePath(QStringLiteral("movie.gif"));
  {
    QFile file(movie);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("another program's movie");
  }
  setPicture(96, 72, PictureMode::ChaosGame, QStringLiteral("20000"), Shading::Density);
  dialogs.replaceAnswers.push_back(true);
  exportTo(movie, 3, false);
  ASSERT_TRUE(waitUntil([this] { return !window->exporting(); }, 60000));
  ASSERT_EQ(dialogs.replaceQuestions.size(), 1);
  const QByteArray old = testing::fileBytes(movie);
  ASSERT_TRUE(old.startsWith("GIF89a"));

  setPicture(400, 300, PictureMode::ChaosGame, QStringLiteral("10000000"), Shading::Density);
  exportTo(movie, 1000, false);
  EXPECT_EQ(dialogs.replaceQuestions.size(), 1);
  ASSERT_TRUE(window->exporting());
  window->cancelExport();
  ASSERT_TRUE(waitUntil([this] { return !window->exporting(); }, 10000));
  EXPECT_EQ(testing::fileBytes(movie), old);
  EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join(u'|').toStdString();
  EXPECT_EQ(status(), kMovieCancelledMessage);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("movie.gif")});
}

// A refusal is shown in a box and in the status line, and writes nothing.
TEST_F(AnimationExportTest, ARefusedExportSaysWhyAndWritesNothing) {
  const struct {
    const char* name;
    const char* file;
    const char* points;
  } cases[] = {
      {"no movie type", "movie.txt", "20000"},
      {"a sequence without a number", "frames.png", "20000"},
      {"points not a number", "movie.gif", "many"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    dialogs.messages.clear();
    setPicture(96, 72, PictureMode::ChaosGame, QString::fromLatin1(c.points), Shading::Flat);
    exportTo(dir.filePath(QString::fromLatin1(c.file)), 3, false);
    EXPECT_FALSE(window->exporting());
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(status(), dialogs.messages.first());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
  }
}

}  // namespace
}  // namespace quill
