#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "core/maps/pattern_catalogue.h"
#include "support/render_tool.h"

namespace quill {
namespace {

using testing::fileBytes;
using testing::runRender;
using testing::ToolRun;

// Renders with `arguments`, then again from the picture alone: the same file, byte for byte (so
// the same pixels and the same record).
void expectRenderedAgain(const QStringList& arguments, const QString& name) {
  QTemporaryDir dir;
  const QString first = dir.filePath(name);
  const QString second = dir.filePath(QStringLiteral("again-") + name);
  const ToolRun drawn = runRender(arguments + QStringList{QStringLiteral("--output"), first});
  ASSERT_EQ(drawn.status, 0) << drawn.errors.toStdString();
  const ToolRun again =
      runRender({QStringLiteral("--from-picture"), first, QStringLiteral("--output"), second});
  ASSERT_EQ(again.status, 0) << again.errors.toStdString();
  const QByteArray original = fileBytes(first);
  ASSERT_FALSE(original.isEmpty());
  EXPECT_EQ(fileBytes(second), original);
  if (!name.endsWith(QStringLiteral(".svg"))) {
    EXPECT_EQ(QImage(second), QImage(first));
  }
}

struct ModeRow {
  const char* name;
  QStringList arguments;
};

const ModeRow kModes[] = {
    {"blueprint", {QStringLiteral("--mode"), QStringLiteral("blueprint")}},
    {"fractal",
     {QStringLiteral("--mode"), QStringLiteral("fractal"), QStringLiteral("--iterations"),
      QStringLiteral("5")}},
    {"chaos",
     {QStringLiteral("--mode"), QStringLiteral("chaos"), QStringLiteral("--iterations"),
      QStringLiteral("30000")}},
};

class EveryPatternInEveryMode : public ::testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(EveryPatternInEveryMode, RendersTheSamePictureFromThePicture) {
  const auto [pattern, mode] = GetParam();
  QStringList arguments = {QStringLiteral("--pattern"), kPatterns[std::size_t(pattern)].menuCaption,
                           QStringLiteral("--size"), QStringLiteral("320x240")};
  arguments += kModes[mode].arguments;
  expectRenderedAgain(arguments, QStringLiteral("picture.png"));
}

std::string patternModeName(const ::testing::TestParamInfo<std::tuple<int, int>>& info) {
  QString name = kPatterns[std::size_t(std::get<0>(info.param))].menuCaption;
  name.remove(u' ');
  return name.toStdString() + "_" + kModes[std::get<1>(info.param)].name;
}

INSTANTIATE_TEST_SUITE_P(Patterns, EveryPatternInEveryMode,
                         ::testing::Combine(::testing::Range(0, int(kUserPattern)),
                                            ::testing::Range(0, 3)),
                         patternModeName);

// The picture options travel with the picture too.
struct SettingsRow {
  const char* name;
  QStringList arguments;
  const char* file;
};

class PictureSettings : public ::testing::TestWithParam<SettingsRow> {};

TEST_P(PictureSettings, RenderAgainTheSameFile) {
  expectRenderedAgain(GetParam().arguments, QString::fromLatin1(GetParam().file));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PictureSettings,
    ::testing::Values(
        SettingsRow{"DensityWithGammaAndColours",
                    QStringList{"--pattern", "Fern", "--mode", "chaos", "--iterations", "40000",
                                "--size", "200x150", "--shade", "density", "--gamma", "1.5",
                                "--pen", "1A5E20", "--paper", "FFF8E0"},
                    "density.png"},
        SettingsRow{"ByMapSupersampledSixteenBits",
                    QStringList{"--pattern", "Crystal4", "--mode", "chaos", "--iterations", "40000",
                                "--size", "120x90", "--shade", "by-map", "--map-colours",
                                "E6194B,3CB44B", "--supersample", "2", "--depth16"},
                    "bymap.png"},
        SettingsRow{"MeanToneOnTransparentPaper",
                    QStringList{"--pattern", "Fern", "--mode", "chaos", "--iterations", "40000",
                                "--size", "200x150", "--shade", "density", "--tone", "mean",
                                "--gamma-threshold", "0.05", "--transparent", "--depth16"},
                    "mean.png"},
        SettingsRow{"FlatOnTransparentPaper",
                    QStringList{"--pattern", "Sierpinski", "--mode", "chaos", "--iterations",
                                "20000", "--size", "160x120", "--transparent"},
                    "clear.png"},
        SettingsRow{"FractalAsVectorsWithoutPaper",
                    QStringList{"--pattern", "Koch", "--mode", "fractal", "--iterations", "3",
                                "--size", "300x200", "--transparent"},
                    "clear.svg"},
        SettingsRow{"FlatFromAnotherSeed",
                    QStringList{"--pattern", "Dragon", "--mode", "chaos", "--iterations", "20000",
                                "--size", "160x120", "--seed", "12345"},
                    "seeded.png"},
        SettingsRow{"FractalAsVectors",
                    QStringList{"--pattern", "Koch", "--mode", "fractal", "--iterations", "3",
                                "--size", "300x200"},
                    "koch.svg"},
        SettingsRow{"BluePrintAsVectors",
                    QStringList{"--pattern", "Twig", "--mode", "blueprint", "--size", "300x200",
                                "--pen", "0000FF"},
                    "twig.svg"}),
    [](const auto& row) { return std::string(row.param.name); });

struct RefusalRow {
  const char* name;
  QByteArray bytes;  // the file opened with --from-picture
  const char* message;
};

class RefusedPictures : public ::testing::TestWithParam<RefusalRow> {};

TEST_P(RefusedPictures, SayWhyAndWriteNothing) {
  QTemporaryDir dir;
  const QString picture = dir.filePath(QStringLiteral("in.png"));
  QFile file(picture);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(GetParam().bytes);
  file.close();
  const QString output = dir.filePath(QStringLiteral("out.png"));
  const ToolRun run =
      runRender({QStringLiteral("--from-picture"), picture, QStringLiteral("--output"), output});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.errors.contains(QString::fromUtf8(GetParam().message)))
      << run.errors.toStdString();
  EXPECT_FALSE(QFile::exists(output));
}

QByteArray plainPng() {
  QImage image(4, 3, QImage::Format_RGB32);
  image.fill(Qt::white);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RefusedPictures,
    ::testing::Values(RefusalRow{"PngOfAnotherProgram", plainPng(), "does not say what it was"},
                      RefusalRow{"NotAPicture", QByteArray("0.5,0,0,0.5,0,0,1\n"),
                                 "does not say what it was"},
                      RefusalRow{"Empty", QByteArray(), "does not say what it was"}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace quill
