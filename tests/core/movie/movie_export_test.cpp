// Exporting an animation: a cancel leaves the old movie, the frames' names.

#include "core/movie/movie_export.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "support/row_name.h"

namespace quill {
namespace {

const std::vector<WeightedMap> kTriangle = {{{0.5, 0, 0, 0.5, 0, 0}, 0.33},
                                            {{0.5, 0, 0, 0.5, 0.5, 0}, 0.33},
                                            {{0.5, 0, 0, 0.5, 0.25, 0.5}, 0.34}};

MovieRequest smallMovie() {
  std::vector<WeightedMap> turned = kTriangle;
  turned[2].map = {0.3, -0.3, 0.3, 0.3, 0.4, 0.3};
  Animation animation;
  animation.keys = {{0, kTriangle, {}, {}}, {1, turned, {}, {}}};
  MovieRequest movie;
  movie.plan = planAnimation(animation).value();
  movie.frameCount = 5;
  movie.inputs.kind = DrawingKind::ChaosGame;
  movie.inputs.drawing.iterationCount = 20000;
  movie.picture.width = 64;
  movie.picture.height = 48;
  movie.picture.shading = Shading::Density;
  return movie;
}

struct CancelRow {
  std::string name;
  const char* file;
  bool needsFfmpeg;
};

class CancelledExport : public ::testing::TestWithParam<CancelRow> {};

TEST_P(CancelledExport, LeavesTheOldMovieAsItWasAndNothingBeside) {
  if (GetParam().needsFfmpeg &&
      QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty()) {
    GTEST_SKIP() << "no ffmpeg";
  }
  QTemporaryDir dir;
  const QString path = dir.filePath(QString::fromLatin1(GetParam().file));
  QFile old(path);
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("the old movie");
  old.close();
  std::atomic<bool> cancel{false};
  RenderControl control;
  control.cancel = &cancel;
  control.threads = 1;
  control.progress = [&cancel](double done) {
    if (done > 0.5) cancel = true;  // halfway through the frames
  };
  const Status exported = exportMovie(smallMovie(), control, path);
  ASSERT_FALSE(exported);
  EXPECT_EQ(exported.message(), kMovieCancelledMessage);
  ASSERT_TRUE(old.open(QIODevice::ReadOnly));
  EXPECT_EQ(old.readAll(), "the old movie");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
            QStringList{QString::fromLatin1(GetParam().file)});
}

INSTANTIATE_TEST_SUITE_P(Movie, CancelledExport,
                         ::testing::Values(CancelRow{"gif", "morph.gif", false},
                                           CancelRow{"mp4", "morph.mp4", true}),
                         testing::RowName());

TEST(Movie, FramesAreNamedByTheNumberInTheName) {
  const struct {
    const char* pattern;
    int number;
    const char* name;
  } rows[] = {
      {"frames_%05d.png", 7, "frames_00007.png"},
      {"out/f%d.png", 12, "out/f12.png"},
      {"/tmp/x/f%3d.png", 5, "/tmp/x/f  5.png"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(framePath(row.pattern, row.number), row.name) << row.pattern;
    EXPECT_EQ(movieFormatFor(row.pattern), MovieFormat::PngSequence) << row.pattern;
  }
  EXPECT_EQ(movieFormatFor("frames.png"), std::nullopt);
  EXPECT_EQ(movieFormatFor("a%d/b%d.png"), MovieFormat::PngSequence);  // only the name counts
  EXPECT_EQ(movieFormatFor("f%d_%d.png"), std::nullopt);
}

}  // namespace
}  // namespace quill
