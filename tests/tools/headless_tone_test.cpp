// quillmere-render's tone and transparency options: what it refuses, with which status.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "core/picture/picture.h"

namespace quill {
namespace {

struct ToneOptionRow {
  const char* name;
  QStringList options;
  const char* output;  // in a fresh folder
  int status;          // 2 a usage error, 1 a refusal
  QString errors;
};

QString usage(const char* hint) {
  return QStringLiteral("quillmere-render: %1 (see --help)\n").arg(QString::fromLatin1(hint));
}

class ToneOptions : public ::testing::TestWithParam<ToneOptionRow> {};

TEST_P(ToneOptions, AreRefusedWithAMessageAndNoFile) {
  const ToneOptionRow& row = GetParam();
  QTemporaryDir dir;
  const QString path = dir.filePath(QString::fromLatin1(row.output));
  QProcess tool;
  tool.start(QStringLiteral(QUILLMERE_RENDER_BIN),
             QStringList{"--pattern", "Fern", "--mode", "chaos", "--iterations", "100", "--size",
                         "64x48", "--output", path} +
                 row.options);
  ASSERT_TRUE(tool.waitForFinished(60000));
  EXPECT_EQ(tool.exitCode(), row.status);
  EXPECT_EQ(QString::fromLocal8Bit(tool.readAllStandardError()), row.errors);
  EXPECT_FALSE(QFile::exists(path));
}

const char kThreshold[] = "--gamma-threshold must be a number from 0 to 1";

INSTANTIATE_TEST_SUITE_P(
    Rows, ToneOptions,
    ::testing::Values(
        ToneOptionRow{"UnknownTone",
                      {"--shade", "density", "--tone", "bright"},
                      "x.png",
                      2,
                      usage("unknown tone 'bright'; use log or mean")},
        ToneOptionRow{"ToneOfAFlatPicture",
                      {"--tone", "mean"},
                      "x.png",
                      2,
                      usage("--tone goes with --shade density or by-map")},
        ToneOptionRow{"ThresholdAboveOne",
                      {"--shade", "density", "--tone", "mean", "--gamma-threshold", "1.5"},
                      "x.png",
                      2,
                      usage(kThreshold)},
        ToneOptionRow{"ThresholdNegative",
                      {"--shade", "density", "--tone", "mean", "--gamma-threshold", "-0.1"},
                      "x.png",
                      2,
                      usage(kThreshold)},
        ToneOptionRow{"ThresholdNotANumber",
                      {"--shade", "density", "--tone", "mean", "--gamma-threshold", "nan"},
                      "x.png",
                      2,
                      usage(kThreshold)},
        ToneOptionRow{"ThresholdOfTheLogTone",
                      {"--shade", "density", "--gamma-threshold", "0.1"},
                      "x.png",
                      2,
                      usage("--gamma-threshold goes with --tone mean")},
        ToneOptionRow{"TransparentBmp", {"--transparent"}, "x.bmp", 1, kNoAlphaMessage + u'\n'},
        ToneOptionRow{"TransparentDensityJpeg",
                      {"--shade", "density", "--transparent"},
                      "x.jpg",
                      1,
                      kNoAlphaMessage + u'\n'}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace quill
