#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>

#include "core/canvas/canvas.h"
#include "core/maps/pattern_catalogue.h"
#include "core/maths/attractor_box.h"
#include "support/fakes.h"

namespace quill {
namespace {

struct ToolRun {
  int status = -1;
  QString errors;
  QString output;
};

ToolRun render(const QStringList& arguments) {
  QProcess process;
  process.start(QStringLiteral(QUILLMERE_RENDER_BIN), arguments);
  process.waitForFinished(120000);
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          QString::fromLocal8Bit(process.readAllStandardError()),
          QString::fromLocal8Bit(process.readAllStandardOutput())};
}

// The same drawing made in this process on the core canvas.
QImage drawnInProcess(int pattern, void (*command)(Document&), const QString& iterations,
                      Rgb pen = kBlack, Rgb paper = kWhite) {
  testing::PanelFixture f(320, 240);
  f.module1.penColor = pen;
  f.module1.paperColor = paper;
  mnuPattern_Click(f.document, pattern);
  f.state.Text1 = iterations;
  command(f.document);
  EXPECT_TRUE(f.dialogs.messages.isEmpty()) << f.dialogs.messages.join(u'|').toStdString();
  return f.form1.canvas().picture();
}

class Headless : public ::testing::Test {
 protected:
  QString out(const QString& name) const { return dir.filePath(name); }
  QTemporaryDir dir;
};

TEST_F(Headless, DrawsPixelForPixelWhatTheCommandsDrawOnTheCanvas) {
  const struct {
    const char* name;
    QStringList arguments;
    int pattern;
    void (*command)(Document&);
    const char* iterations;
    Rgb pen;
    Rgb paper;
  } cases[] = {
      {"chaos game",
       {"--pattern", "Fern", "--mode", "chaos", "--iterations", "30000"},
       8,
       &cmdChaos_Click,
       "30000",
       kBlack,
       kWhite},
      {"fractal of triangles, any case",
       {"--pattern", "sIeRpInSkI", "--mode", "fractal", "--iterations", "5"},
       0,
       &cmdFractal_Click,
       "5",
       kBlack,
       kWhite},
      {"blue print in colour",
       {"--pattern", "Square Koch", "--mode", "blueprint", "--pen", "00a000", "--paper", "#000000"},
       10,
       &cmdBluePrint_Click,
       "",
       rgb(0, 160, 0),
       kBlack},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = out(QStringLiteral("picture.png"));
    const ToolRun run = render(c.arguments + QStringList{"--size", "320x240", "--output", path});
    ASSERT_EQ(run.status, 0) << run.errors.toStdString();
    const QImage written(path);
    ASSERT_FALSE(written.isNull());
    EXPECT_EQ(
        written.convertToFormat(QImage::Format_RGB32),
        drawnInProcess(c.pattern, c.command, QString::fromLatin1(c.iterations), c.pen, c.paper));
  }
}

TEST_F(Headless, RefusesWithTheProgramsMessagesAndStatusOne) {
  const QString missing = out(QStringLiteral("missing.dat"));
  QFile malformed(out(QStringLiteral("malformed.dat")));
  ASSERT_TRUE(malformed.open(QIODevice::WriteOnly));
  malformed.write("3\r\n1,0,0,1,0,0,1\r\n");  // three rows promised, one given
  malformed.close();
  const struct {
    const char* name;
    QStringList arguments;
    const char* message;
  } cases[] = {
      {"no count",
       {"--pattern", "Fern", "--mode", "chaos"},
       "Please enter a value for the number of iteration"},
      {"count not a number",
       {"--pattern", "Fern", "--mode", "fractal", "--iterations", "abc"},
       "Please enter proper number of iteration"},
      {"negative depth",
       {"--pattern", "Fern", "--mode", "fractal", "--iterations", "-1"},
       "Please enter proper number of iteration"},
      {"count beyond 32 bits",
       {"--pattern", "Fern", "--mode", "chaos", "--iterations", "1e20"},
       "Please enter proper number of iteration"},
      {"too deep",
       {"--pattern", "Fern", "--mode", "fractal", "--iterations", "21"},
       "Maxium number of iteration allowed for fractal is 20"},
      {"missing parameter file",
       {"--params", missing, "--mode", "blueprint"},
       "File not found.\nPlease make sure the file name you specify exists."},
      {"malformed parameter file",
       {"--params", malformed.fileName(), "--mode", "blueprint"},
       "Cannot load the file: invalid file format."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = out(QStringLiteral("refused.png"));
    const ToolRun run = render(c.arguments + QStringList{"--size", "64x48", "--output", path});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.errors, QString::fromLatin1(c.message) + u'\n');
    EXPECT_FALSE(QFile::exists(path));
  }
}

TEST_F(Headless, AnswersUsageErrorsWithStatusTwoAndAOneLineHint) {
  const QString path = out(QStringLiteral("x.png"));
  const QStringList cases[] = {
      {"--pattern", "Nonesuch", "--mode", "chaos", "--output", path},
      {"--pattern", "Fern", "--params", "x.dat", "--mode", "chaos", "--output", path},
      {"--mode", "chaos", "--output", path},
      {"--pattern", "Fern", "--output", path},
      {"--pattern", "Fern", "--mode", "spiral", "--output", path},
      {"--pattern", "Fern", "--mode", "chaos"},
      {"--pattern", "Fern", "--mode", "chaos", "--size", "0x10", "--output", path},
      {"--pattern", "Fern", "--mode", "chaos", "--size", "100000x10", "--output", path},
      {"--pattern", "Fern", "--mode", "chaos", "--pen", "green", "--output", path},
      {"--pattern", "Fern", "--mode", "chaos", "--frobnicate", "--output", path},
      {"--pattern", "Fern", "--report", ""},
      {"--pattern", "Fern", "--report", path, "--report-points", "999"},
      {"--pattern", "Fern", "--report", path, "--report-points", "1e6"},
      {"--pattern", "Fern", "--report-points", "1000", "--mode", "chaos", "--output", path},
  };
  for (const QStringList& arguments : cases) {
    SCOPED_TRACE(arguments.join(u' ').toStdString());
    const ToolRun run = render(arguments);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.errors.startsWith("quillmere-render: "));
    EXPECT_EQ(run.errors.count(u'\n'), 1);
    EXPECT_FALSE(QFile::exists(path));
  }
  const ToolRun help = render({"--help"});
  EXPECT_EQ(help.status, 0);
}

TEST_F(Headless, LeavesNoFileBehindWhenTheOutputCannotBeWritten) {
  QDir(dir.path()).mkdir(QStringLiteral("folder.png"));
  const QString cases[] = {out(QStringLiteral("no/such/folder/x.png")),
                           out(QStringLiteral("folder.png"))};
  for (const QString& path : cases) {
    SCOPED_TRACE(path.toStdString());
    const ToolRun run =
        render({"--pattern", "Koch", "--mode", "blueprint", "--size", "64x48", "--output", path});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.errors, "Cannot save the picture. Please try again.\n");
  }
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
            QStringList{"folder.png"});
  EXPECT_TRUE(QDir(out(QStringLiteral("folder.png"))).isEmpty());
}

// The chaos game on two threads is cut into segments (three at this count), yet every pattern
// comes out byte for byte as the one orbit draws it. Bad counts of threads are usage errors.
TEST_F(Headless, ThreadsChangeTheSpeedButNotThePicture) {
  for (int pattern = 0; pattern < kUserPattern; ++pattern) {
    const QString name = kPatterns[std::size_t(pattern)].menuCaption;
    SCOPED_TRACE(name.toStdString());
    QByteArray pictures[2];
    for (int threads : {1, 2}) {
      const QString path = out(QStringLiteral("threads%1.png").arg(threads));
      const ToolRun run =
          render({"--pattern", name, "--mode", "chaos", "--iterations", "3000000", "--size",
                  "320x240", "--threads", QString::number(threads), "--output", path});
      ASSERT_EQ(run.status, 0) << run.errors.toStdString();
      QFile file(path);
      ASSERT_TRUE(file.open(QIODevice::ReadOnly));
      pictures[threads - 1] = file.readAll();
    }
    EXPECT_FALSE(pictures[0].isEmpty());
    EXPECT_TRUE(pictures[0] == pictures[1]);
  }
  for (const char* threads : {"0", "-1", "257", "1.5", "two", ""}) {
    SCOPED_TRACE(threads);
    const QString path = out(QStringLiteral("x.png"));
    const ToolRun run = render({"--pattern", "Fern", "--mode", "chaos", "--iterations", "10",
                                "--threads", threads, "--output", path});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.errors,
              "quillmere-render: --threads must be a whole number from 1 to 256 (see --help)\n");
    EXPECT_FALSE(QFile::exists(path));
  }
}

}  // namespace
}  // namespace quill

namespace quill {
namespace {

// .ifs files: the entries listed, an entry chosen by name in any case, fitted and written back,
// and refusals with the program's messages.
TEST_F(Headless, ImportsListsFitsAndWritesIfsEntries) {
  const QString gallery = QStringLiteral(QUILLMERE_TEST_DATA "/ifs/gallery.ifs");
  const ToolRun listed = render({"--ifs", gallery, "--list-entries"});
  EXPECT_EQ(listed.status, 0) << listed.errors.toStdString();
  EXPECT_EQ(listed.output, "Fern\t4\t2D\ngasket\t3\t2D\nCube\t1\t3D\nTiny\t1\t2D\n");

  const QString saved = out(QStringLiteral("fern.ifs"));
  const ToolRun written =
      render({"--ifs", gallery, "--entry", "FERN", "--fit", "--save-ifs", saved});
  ASSERT_EQ(written.status, 0) << written.errors.toStdString();
  const Result<std::vector<IfsEntry>> read = readIfsFile(saved);
  ASSERT_TRUE(read);
  ASSERT_EQ(read->front().maps.size(), 4u);
  std::vector<PlaneMap> maps;
  for (const IfsMap& m : read->front().maps) maps.push_back({m.a, m.b, m.c, m.d, m.e, m.f});
  const Box box = *attractorBox(maps);
  EXPECT_NEAR(std::max(box.xmax - box.xmin, box.ymax - box.ymin), 0.96, 1e-9);

  const ToolRun drawn =
      render({"--ifs", gallery, "--entry", "gasket", "--fit", "--mode", "chaos", "--iterations",
              "1000", "--size", "64x48", "--output", out(QStringLiteral("gasket.png"))});
  EXPECT_EQ(drawn.status, 0) << drawn.errors.toStdString();

  struct Case {
    const char* name;
    QStringList arguments;
    int status;
    QString errors;
  };
  const Case cases[] = {
      {"three-dimensional",
       {"--ifs", gallery, "--entry", "cube", "--save-ifs", saved},
       1,
       kThreeDimensionalMessage + u'\n'},
      {"no such entry",
       {"--ifs", gallery, "--entry", "nothere", "--save-ifs", saved},
       1,
       QStringLiteral("The file has no entry named nothere.\n")},
      {"no such file",
       {"--ifs", out(QStringLiteral("none.ifs")), "--list-entries"},
       1,
       kFileNotFoundMessage + u'\n'},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ToolRun run = render(c.arguments);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.errors, c.errors);
  }
  EXPECT_EQ(render({"--pattern", "Fern", "--entry", "x", "--save-ifs", saved}).status, 2);
}

// The report of the maps the grid reads, to standard output or a file, alone or with a picture;
// the same game every run, so both are the same.
TEST_F(Headless, WritesTheMathsReport) {
  const ToolRun printed =
      render({"--pattern", "sierpinski", "--report", "-", "--report-points", "200000"});
  ASSERT_EQ(printed.status, 0) << printed.errors.toStdString();
  const QJsonObject report = QJsonDocument::fromJson(printed.output.toUtf8()).object();
  EXPECT_EQ(report["maps"].toArray().size(), 3);
  EXPECT_EQ(report["maps"][2]["p"].toDouble(), 0.333);
  EXPECT_EQ(report["contracting"].toBool(), true);
  EXPECT_NEAR(report["similarity_dimension"].toDouble(), std::log2(3.0), 1e-12);
  EXPECT_NEAR(report["box_dimension"].toDouble(), std::log2(3.0), 0.05);

  const QString json = out(QStringLiteral("report.json"));
  const QString picture = out(QStringLiteral("picture.png"));
  const ToolRun both =
      render({"--pattern", "Sierpinski", "--report", json, "--report-points", "200000", "--mode",
              "chaos", "--iterations", "1000", "--size", "64x48", "--output", picture});
  ASSERT_EQ(both.status, 0) << both.errors.toStdString();
  EXPECT_TRUE(QFile::exists(picture));
  QFile written(json);
  ASSERT_TRUE(written.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(written.readAll()), printed.output);

  const ToolRun refused = render(
      {"--pattern", "Fern", "--report", out("no/such/report.json"), "--report-points", "1000"});
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.errors, "Cannot save the report. Please try again.\n");
  const ToolRun none = render({"--pattern", "User", "--report", "-"});
  EXPECT_EQ(QJsonDocument::fromJson(none.output.toUtf8())["bounding_box"].type(), QJsonValue::Null);
}

TEST(HeadlessInterrupt, StopsCleanlyOnCtrlCAndWritesNothing) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("long.png"));
  QProcess process;
  process.start(QStringLiteral(QUILLMERE_RENDER_BIN),
                {"--pattern", "Sierpinski", "--mode", "chaos", "--iterations", "2147483647",
                 "--size", "640x480", "--output", path});
  ASSERT_TRUE(process.waitForStarted());
  QThread::msleep(700);  // well into the drawing, which would take many seconds more
  ::kill(pid_t(process.processId()), SIGINT);
  ASSERT_TRUE(process.waitForFinished(10000));
  EXPECT_EQ(process.exitCode(), 130);
  EXPECT_EQ(QString::fromLocal8Bit(process.readAllStandardError()),
            "Interrupted; no picture written.\n");
  EXPECT_FALSE(QFile::exists(path));
}

}  // namespace
}  // namespace quill
