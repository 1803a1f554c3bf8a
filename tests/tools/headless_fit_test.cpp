#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include "core/collage/target.h"
#include "support/render_tool.h"

namespace quill {
namespace {

using testing::fileBytes;
using testing::runRender;
using testing::ToolRun;

class HeadlessFit : public ::testing::Test {
 protected:
  // A dark leaf with a stem on white, as a user would draw one.
  QString leaf() {
    QImage image(160, 160, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::black);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(80, 70), 32, 60);
    painter.drawRect(77, 120, 6, 36);
    painter.end();
    const QString path = dir.filePath(QStringLiteral("leaf.png"));
    EXPECT_TRUE(image.save(path));
    return path;
  }
  QString out(const QString& name) const { return dir.filePath(name); }
  QTemporaryDir dir;
};

// The fitted files depend on the seed, the target and the options only: the threads share the
// work, never the result. The JSON line carries the measures a script reads.
TEST_F(HeadlessFit, WritesTheSameFilesOnAnyNumberOfThreadsAndEndsWithTheMeasures) {
  const QString target = leaf();
  const struct {
    const char* name;
    QStringList start;
    int maps;
  } starts[] = {
      {"from nothing", {"--maps", "3"}, 3},
      {"from a pattern", {"--pattern", "Sierpinski"}, 3},
  };
  for (const auto& start : starts) {
    SCOPED_TRACE(start.name);
    QByteArray written[2][2];
    for (int threads : {1, 2}) {
      const QString ifs = out(QStringLiteral("fit%1.ifs").arg(threads));
      const QString params = out(QStringLiteral("fit%1.dat").arg(threads));
      const ToolRun run =
          runRender(start.start + QStringList{"--target", target, "--time-limit", "0.3", "--seed",
                                              "7", "--threads", QString::number(threads),
                                              "--save-ifs", ifs, "--save-params", params});
      ASSERT_EQ(run.status, 0) << run.errors.toStdString();
      written[threads - 1][0] = fileBytes(ifs);
      written[threads - 1][1] = fileBytes(params);
      const QStringList lines = run.errors.split(u'\n', Qt::SkipEmptyParts);
      ASSERT_EQ(lines.size(), 1) << run.errors.toStdString();
      QJsonParseError error;
      const QJsonObject summary = QJsonDocument::fromJson(lines[0].toUtf8(), &error).object();
      ASSERT_EQ(error.error, QJsonParseError::NoError) << lines[0].toStdString();
      EXPECT_EQ(summary.value(QStringLiteral("maps")).toInt(), start.maps);
      const double iou = summary.value(QStringLiteral("iou")).toDouble(-1);
      EXPECT_GT(iou, 0.3);
      EXPECT_LE(iou, 1.0);
      const double distance = summary.value(QStringLiteral("collage_distance")).toDouble(-1);
      EXPECT_GE(distance, 0.0);
      // Every fitted map contracts, so there is a bound, and it is no tighter than the distance.
      EXPECT_GE(summary.value(QStringLiteral("bound")).toDouble(-1), distance);
      EXPECT_GE(summary.value(QStringLiteral("seconds")).toDouble(-1), 0.0);
    }
    EXPECT_FALSE(written[0][0].isEmpty());
    EXPECT_FALSE(written[0][1].isEmpty());
    EXPECT_TRUE(written[0][0] == written[1][0]);
    EXPECT_TRUE(written[0][1] == written[1][1]);
  }
}

TEST_F(HeadlessFit, RefusesATargetWithoutAShapeWithTheTargetsMessages) {
  QImage blank(40, 40, QImage::Format_RGB32);
  blank.fill(Qt::white);
  ASSERT_TRUE(blank.save(out(QStringLiteral("blank.png"))));
  QImage dark(40, 40, QImage::Format_RGB32);
  dark.fill(Qt::black);
  ASSERT_TRUE(dark.save(out(QStringLiteral("dark.png"))));
  QFile text(out(QStringLiteral("notes.png")));
  ASSERT_TRUE(text.open(QIODevice::WriteOnly));
  text.write("not a picture\n");
  text.close();
  const struct {
    const char* name;
    QString file;
    QString message;
  } cases[] = {
      {"missing", out(QStringLiteral("missing.png")), kNotAPictureMessage.section(u'%', 0, 0)},
      {"not a picture", text.fileName(), kNotAPictureMessage.section(u'%', 0, 0)},
      {"blank", out(QStringLiteral("blank.png")), kBlankTargetMessage},
      {"dark all over", out(QStringLiteral("dark.png")), kDarkTargetMessage},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const QString ifs = out(QStringLiteral("refused.ifs"));
    const ToolRun run = runRender({"--target", c.file, "--maps", "2", "--save-ifs", ifs});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.errors.startsWith(c.message)) << run.errors.toStdString();
    EXPECT_FALSE(QFile::exists(ifs));
  }
}

TEST_F(HeadlessFit, AnswersMisusedFitOptionsWithAUsageError) {
  const QString target = leaf();
  const QString ifs = out(QStringLiteral("x.ifs"));
  const struct {
    const char* name;
    QStringList arguments;
    const char* hint;
  } cases[] = {
      {"no maps to start from", {"--target", target}, "needs --maps N"},
      {"maps with a pattern", {"--target", target, "--pattern", "Fern", "--maps", "2"}, "--maps"},
      {"eleven maps", {"--target", target, "--maps", "11"}, "from 1 to 10"},
      {"no time", {"--target", target, "--maps", "2", "--time-limit", "0"}, "--time-limit"},
      {"maps without a target", {"--pattern", "Fern", "--maps", "2"}, "goes with --target"},
      {"invert without a target", {"--pattern", "Fern", "--invert"}, "goes with --target"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ToolRun run = runRender(c.arguments + QStringList{"--save-ifs", ifs});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.errors.contains(QString::fromLatin1(c.hint))) << run.errors.toStdString();
    EXPECT_FALSE(QFile::exists(ifs));
  }
}

}  // namespace
}  // namespace quill
