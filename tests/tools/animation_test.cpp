// quillmere-render's animations, run as a user runs them: frames at the keys are the keys' own
// pictures, the threads change nothing, GIF and PNG frames read back, ffmpeg's absence is said.

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "support/row_name.h"

namespace quill {
namespace {

struct ToolRun {
  int status = -1;
  QString errors;
};

ToolRun render(const QStringList& arguments, const QString& path = QString()) {
  QProcess process;
  if (!path.isNull()) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PATH"), path);
    process.setProcessEnvironment(environment);
  }
  process.start(QStringLiteral(QUILLMERE_RENDER_BIN), arguments);
  process.waitForFinished(120000);
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          QString::fromLocal8Bit(process.readAllStandardError())};
}

// Density-shaded chaos games of a small size: what every frame below is drawn as.
const QStringList kPicture = {"--mode",  "chaos",   "--iterations", "40000",
                              "--shade", "density", "--size",       "96x72"};
const QStringList kKeys = {"--key", "pattern:Sierpinski@0", "--key", "pattern:Fern@1.5"};

QByteArray bytesOf(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class AnimationExport : public ::testing::Test {
 protected:
  QString out(const QString& name) const { return dir.filePath(name); }
  QTemporaryDir dir;
};

TEST_F(AnimationExport, FramesAreTheSameOnAnyNumberOfThreads) {
  for (const char* threads : {"1", "2"}) {
    const ToolRun run = render(kKeys + kPicture +
                               QStringList{"--frames", "4", "--threads", threads, "--output",
                                           out(QStringLiteral("t%1_%03d.png").arg(threads))});
    ASSERT_EQ(run.status, 0) << run.errors.toStdString();
  }
  for (int frame = 1; frame <= 4; ++frame) {
    const QString name = QStringLiteral("_%1.png").arg(frame, 3, 10, QLatin1Char('0'));
    const QByteArray one = bytesOf(out("t1" + name));
    ASSERT_FALSE(one.isEmpty()) << frame;
    EXPECT_EQ(one, bytesOf(out("t2" + name))) << "frame " << frame;
  }
}

// The keys' own pictures as quillmere-render draws them alone, from a pattern and from an .ifs
// entry, flat (the canvas's picture), shaded and as the fractal of the pattern's figure.
TEST_F(AnimationExport, TheFirstAndLastFramesAreTheKeysOwnPicturesInEveryMode) {
  const QString ifs = out(QStringLiteral("tree.ifs"));
  ASSERT_EQ(render({"--pattern", "Tree", "--save-ifs", ifs}).status, 0);
  const struct {
    const char* name;
    QStringList picture;
  } modes[] = {
      {"density", kPicture},
      {"flat", {"--mode", "chaos", "--iterations", "30000", "--size", "96x72"}},
      {"fractal", {"--mode", "fractal", "--iterations", "4", "--size", "96x72"}},
      {"mean tone, transparent",
       kPicture + QStringList{"--tone", "mean", "--gamma-threshold", "0.05", "--transparent"}},
  };
  for (const auto& mode : modes) {
    SCOPED_TRACE(mode.name);
    const ToolRun run =
        render(QStringList{"--key", "pattern:Fern@0", "--key", ifs + ":Tree@2"} + mode.picture +
               QStringList{"--frames", "3", "--output", out(QStringLiteral("m_%d.png"))});
    ASSERT_EQ(run.status, 0) << run.errors.toStdString();
    for (const auto& [source, frame] :
         {std::pair{QStringList{"--pattern", "Fern"}, 1}, {QStringList{"--ifs", ifs}, 3}}) {
      const QString key = out(QStringLiteral("key.png"));
      const ToolRun alone = render(source + mode.picture + QStringList{"--output", key});
      ASSERT_EQ(alone.status, 0) << alone.errors.toStdString();
      const QImage own(key), framed(out(QStringLiteral("m_%1.png").arg(frame)));
      ASSERT_FALSE(own.isNull());
      EXPECT_EQ(own.depth(), framed.depth()) << "frame " << frame;
      EXPECT_EQ(own.convertToFormat(QImage::Format_ARGB32),
                framed.convertToFormat(QImage::Format_ARGB32))
          << "frame " << frame;
    }
  }
}

TEST_F(AnimationExport, AGifHoldsEveryFrameAtThePicturesSize) {
  const QString gif = out(QStringLiteral("morph.gif"));
  const ToolRun run =
      render(kKeys + kPicture +
             QStringList{"--frames", "6", "--loop", "--easing", "spline", "--output", gif});
  ASSERT_EQ(run.status, 0) << run.errors.toStdString();
  int error = 0;
  GifFileType* read = DGifOpenFileName(gif.toLocal8Bit().constData(), &error);
  ASSERT_NE(read, nullptr);
  ASSERT_EQ(DGifSlurp(read), GIF_OK);
  EXPECT_EQ(read->ImageCount, 6);
  EXPECT_EQ(read->SWidth, 96);
  EXPECT_EQ(read->SHeight, 72);
  DGifCloseFile(read, &error);
}

TEST_F(AnimationExport, AnMp4WithoutFfmpegIsRefusedWithWhatToDoAndNothingWritten) {
  QTemporaryDir empty;
  const QString movie = out(QStringLiteral("morph.mp4"));
  const ToolRun run =
      render(kKeys + kPicture + QStringList{"--frames", "3", "--output", movie}, empty.path());
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.errors.contains("the ffmpeg program is not installed"))
      << run.errors.toStdString();
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
  if (QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty()) return;
  const ToolRun made = render(kKeys + kPicture + QStringList{"--frames", "3", "--output", movie});
  ASSERT_EQ(made.status, 0) << made.errors.toStdString();
  EXPECT_EQ(bytesOf(movie).mid(4, 4), "ftyp");
  QFile plain(out(QStringLiteral("plain")));  // made as any new file is
  ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
  EXPECT_EQ(QFile::permissions(movie), plain.permissions());
  plain.remove();
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"morph.mp4"});
}

struct BadRow {
  std::string name;
  QStringList arguments;
  int status;
  const char* says;
};

class AnimationRefuses : public ::testing::TestWithParam<BadRow> {};

TEST_P(AnimationRefuses, WithAClearMessage) {
  QTemporaryDir dir;
  const BadRow& row = GetParam();
  QStringList arguments = row.arguments;
  arguments.replaceInStrings(QStringLiteral("DIR"), dir.path());
  const ToolRun run = render(arguments);
  EXPECT_EQ(run.status, row.status) << run.errors.toStdString();
  EXPECT_TRUE(run.errors.contains(QString::fromUtf8(row.says))) << run.errors.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Animation, AnimationRefuses,
    ::testing::Values(
        BadRow{"no_frames", kKeys + kPicture + QStringList{"--output", "DIR/a.gif"}, 2,
               "--frames N is required"},
        BadRow{"zero_frames",
               kKeys + kPicture + QStringList{"--frames", "0", "--output", "DIR/a.gif"}, 2,
               "--frames must be a whole number from 1 to 100000"},
        BadRow{"fps_too_fast",
               kKeys + kPicture +
                   QStringList{"--frames", "2", "--fps", "500", "--output", "DIR/a.gif"},
               2, "--fps must be a number from 1 to 60"},
        BadRow{"unknown_easing",
               kKeys + kPicture +
                   QStringList{"--frames", "2", "--easing", "bouncy", "--output", "DIR/a.gif"},
               2, "unknown easing 'bouncy'"},
        BadRow{"key_without_time",
               QStringList{"--key", "pattern:Fern"} + kPicture +
                   QStringList{"--frames", "2", "--output", "DIR/a.gif"},
               2, "--key must be FILE@TIME"},
        BadRow{"picture_type",
               kKeys + kPicture + QStringList{"--frames", "2", "--output", "DIR/a.bmp"}, 2,
               "a .gif or an .mp4"},
        BadRow{"png_without_number",
               kKeys + kPicture + QStringList{"--frames", "2", "--output", "DIR/a.png"}, 2,
               "numbered pictures"},
        BadRow{"keys_out_of_order",
               QStringList{"--key", "pattern:Fern@2", "--key", "pattern:Tree@1"} + kPicture +
                   QStringList{"--frames", "2", "--output", "DIR/a.gif"},
               1, "Key 2 must come later than the key before it."},
        BadRow{"missing_key_file",
               QStringList{"--animate", "DIR/none.qmanim"} + kPicture +
                   QStringList{"--frames", "2", "--output", "DIR/a.gif"},
               1, "File not found."},
        BadRow{"unknown_pattern",
               QStringList{"--key", "pattern:Gasket@0"} + kPicture +
                   QStringList{"--frames", "2", "--output", "DIR/a.gif"},
               1, "unknown pattern 'Gasket'"}),
    testing::RowName());

}  // namespace
}  // namespace quill
