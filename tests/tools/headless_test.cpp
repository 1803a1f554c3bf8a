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
#include "support/render_tool.h"

namespace quill {
namespace {

using testing::runRender;
using testing::ToolRun;

// The same drawing made in this process on the core canvas.
QImage drawnInProcess(int pattern, void (*command)(Document&), const QString& iterations,
                      Rgb pen = kBlack, Rgb paper = kWhite) {
  testing::PanelFixture f(320, 240);
  f.drawing.penColor = pen;
  f.drawing.paperColor = paper;
  choosePattern(f.document, pattern);
  f.state.countText = iterations;
  command(f.document);
  EXPECT_TRUE(f.dialogs.messages.isEmpty()) << f.dialogs.messages.join(u'|').toStdString();
  return f.canvasWindow.canvas().picture();
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
       &drawChaosGame,
       "30000",
       kBlack,
       kWhite},
      {"fractal of triangles, any case",
       {"--pattern", "sIeRpInSkI", "--mode", "fractal", "--iterations", "5"},
       0,
       &drawFractal,
       "5",
       kBlack,
       kWhite},
      {"blue print in colour",
       {"--pattern", "Square Koch", "--mode", "blueprint", "--pen", "00a000", "--paper", "#000000"},
       10,
       &drawBluePrint,
       "",
       rgb(0, 160, 0),
       kBlack},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = out(QStringLiteral("picture.png"));
    const ToolRun run = runRender(c.arguments + QStringList{"--size", "320x240", "--output", path});
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
    const ToolRun run = runRender(c.arguments + QStringList{"--size", "64x48", "--output", path});
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
      {"--pattern", "Fern", "--mode", "chaos", "--output", path, "--format", "gif"},
      {"--pattern", "Fern", "--mode", "chaos", "--output", path, "--format", "bmp"},
      {"--pattern", "Fern", "--save-ifs", out("x.ifs"), "--format", "png"},
      {"--pattern", "Fern", "--report", "-", "--save-ifs", "-"},
  };
  for (const QStringList& arguments : cases) {
    SCOPED_TRACE(arguments.join(u' ').toStdString());
    const ToolRun run = runRender(arguments);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.errors.startsWith("quillmere-render: "));
    EXPECT_EQ(run.errors.count(u'\n'), 1);
    EXPECT_FALSE(QFile::exists(path));
  }
  const ToolRun help = runRender({"--help"});
  EXPECT_EQ(help.status, 0);
}

// A plain .png is the canvas's own picture, written as ever; any picture option sends the run
// through renderPicture instead, whose flat picture is the same pixel for pixel. The other
// options write what they say: 16-bit PNG, SVG for the line drawings.
TEST_F(Headless, PictureOptionsRenderTheFileAndFlatMatchesTheCanvas) {
  const QString canvas = out(QStringLiteral("canvas.png"));
  const QString flat = out(QStringLiteral("flat.png"));
  const QStringList fern = {"--pattern",    "Fern",  "--mode", "chaos",
                            "--iterations", "30000", "--size", "320x240"};
  ASSERT_EQ(runRender(fern + QStringList{"--output", canvas}).status, 0);
  const ToolRun seeded = runRender(
      fern + QStringList{"--seed", QString::number(ChaosRandom::kSeed), "--output", flat});
  ASSERT_EQ(seeded.status, 0) << seeded.errors.toStdString();
  EXPECT_EQ(QImage(flat).convertToFormat(QImage::Format_RGB32),
            QImage(canvas).convertToFormat(QImage::Format_RGB32));

  const QString deep = out(QStringLiteral("deep.png"));
  ASSERT_EQ(
      runRender(fern + QStringList{"--shade", "density", "--depth16", "--output", deep}).status, 0);
  const QImage deepImage(deep);
  EXPECT_EQ(deepImage.size(), QSize(320, 240));
  EXPECT_EQ(deepImage.depth(), 64);

  const QString svg = out(QStringLiteral("gasket.svg"));
  ASSERT_EQ(runRender({"--pattern", "Sierpinski", "--mode", "fractal", "--iterations", "3",
                       "--size", "320x240", "--output", svg})
                .status,
            0);
  QFile file(svg);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray text = file.readAll();
  EXPECT_TRUE(text.contains("<svg"));
  EXPECT_EQ(text.count("<polygon"), 27 + 1) << "27 triangles and the frame";
}

TEST_F(Headless, RefusesBadPictureOptionsWithAOneLineHint) {
  const QString path = out(QStringLiteral("x.png"));
  const QString svg = out(QStringLiteral("x.svg"));
  const QString seedHint =
      QStringLiteral("--seed must be a whole number from 0 to 18446744073709551615");
  const QString gammaHint = QStringLiteral("--gamma must be a number from 0.1 to 10");
  const QString supersampleHint =
      QStringLiteral("--supersample must be a whole number from 1 to 4");
  const struct {
    const char* mode;
    QString output;
    QStringList options;
    QString hint;
  } cases[] = {
      {"chaos", path, {"--shade", "glow"}, "unknown shading 'glow'; use flat, density or by-map"},
      {"chaos", path, {"--shade", "density", "--gamma", "0"}, gammaHint},
      {"chaos", path, {"--shade", "density", "--gamma", "nan"}, gammaHint},
      {"chaos", path, {"--shade", "density", "--gamma", "two"}, gammaHint},
      {"chaos", path, {"--supersample", "5"}, supersampleHint},
      {"chaos", path, {"--supersample", "0"}, supersampleHint},
      {"chaos", path, {"--supersample", "1.5"}, supersampleHint},
      {"chaos",
       path,
       {"--shade", "by-map", "--map-colours", "FF0000,green"},
       "--map-colours must be colours RRGGBB in hex separated by commas, such as E6194B,3CB44B; "
       "'green' is not one"},
      {"chaos",
       path,
       {"--shade", "by-map", "--map-colours", "1,2,3,4,5,6,7,8,9,10,11"},
       "--map-colours takes at most 10 colours, one per map"},
      {"chaos", path, {"--seed", "-1"}, seedHint},
      {"chaos", path, {"--seed", "18446744073709551616"}, seedHint},
      {"fractal",
       path,
       {"--shade", "density"},
       "--shade density shades the chaos game only (--mode chaos)"},
      {"chaos",
       svg,
       {},
       "SVG is drawn for blueprint and fractal only; write the chaos game to a .png file"},
      {"chaos", path, {"--gamma", "2"}, "--gamma goes with --shade density or by-map"},
      {"chaos",
       path,
       {"--shade", "density", "--map-colours", "FF0000"},
       "--map-colours goes with --shade by-map"},
      {"fractal", svg, {"--depth16"}, "--depth16 and --supersample are for PNG pictures, not SVG"},
      {"chaos",
       out(QStringLiteral("x.ppm")),
       {"--shade", "density"},
       "pictures with --shade, --gamma, --tone, --gamma-threshold, --supersample, --map-colours, "
       "--depth16, --transparent or --seed are written as .png, .bmp or .jpg (or .svg)"},
      {"chaos",
       out(QStringLiteral("x.jpg")),
       {"--depth16"},
       "--depth16 is for PNG pictures; BMP and JPEG have 8 bits a channel"},
      {"chaos",
       "-",
       {"--depth16", "--format", "jpg"},
       "--depth16 is for PNG pictures; BMP and JPEG have 8 bits a channel"},
      {"chaos",
       "-",
       {"--format", "svg"},
       "SVG is drawn for blueprint and fractal only; write the chaos game to a .png file"},
      {"chaos",
       path,
       {"--format", "jpeg"},
       "--format jpg does not agree with the name 'x.png'; name it .jpg or leave out --format"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.hint.toStdString());
    const ToolRun run = runRender(QStringList{"--pattern", "Fern", "--mode", c.mode, "--iterations",
                                              "10", "--output", c.output} +
                                  c.options);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.errors, QStringLiteral("quillmere-render: %1 (see --help)\n").arg(c.hint));
    EXPECT_FALSE(QFile::exists(c.output));
  }
  // Past the memory a picture may take: refused with the size that fits.
  const ToolRun large = runRender({"--pattern", "Fern", "--mode", "chaos", "--iterations", "10",
                                   "--size", "16384x16384", "--shade", "by-map", "--output", path});
  EXPECT_EQ(large.status, 1);
  EXPECT_TRUE(large.errors.contains("The largest of that shape that fits is"))
      << large.errors.toStdString();
  EXPECT_FALSE(QFile::exists(path));
}

TEST_F(Headless, LeavesNoFileBehindWhenTheOutputCannotBeWritten) {
  QDir(dir.path()).mkdir(QStringLiteral("folder.png"));
  const QString cases[] = {out(QStringLiteral("no/such/folder/x.png")),
                           out(QStringLiteral("folder.png"))};
  for (const QString& path : cases) {
    SCOPED_TRACE(path.toStdString());
    const ToolRun run = runRender(
        {"--pattern", "Koch", "--mode", "blueprint", "--size", "64x48", "--output", path});
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
          runRender({"--pattern", name, "--mode", "chaos", "--iterations", "3000000", "--size",
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
    const ToolRun run = runRender({"--pattern", "Fern", "--mode", "chaos", "--iterations", "10",
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
  const ToolRun listed = runRender({"--ifs", gallery, "--list-entries"});
  EXPECT_EQ(listed.status, 0) << listed.errors.toStdString();
  EXPECT_EQ(listed.output, "Fern\t4\t2D\ngasket\t3\t2D\nCube\t1\t3D\nTiny\t1\t2D\n");

  const QString saved = out(QStringLiteral("fern.ifs"));
  const ToolRun written =
      runRender({"--ifs", gallery, "--entry", "FERN", "--fit", "--save-ifs", saved});
  ASSERT_EQ(written.status, 0) << written.errors.toStdString();
  const Result<std::vector<IfsEntry>> read = readIfsFile(saved);
  ASSERT_TRUE(read);
  ASSERT_EQ(read->front().maps.size(), 4u);
  std::vector<PlaneMap> maps;
  for (const WeightedMap& m : read->front().maps) maps.push_back(m.map);
  const Box box = *attractorBox(maps);
  EXPECT_NEAR(std::max(box.xmax - box.xmin, box.ymax - box.ymin), 0.96, 1e-9);

  const ToolRun drawn =
      runRender({"--ifs", gallery, "--entry", "gasket", "--fit", "--mode", "chaos", "--iterations",
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
    const ToolRun run = runRender(c.arguments);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.errors, c.errors);
  }
  EXPECT_EQ(runRender({"--pattern", "Fern", "--entry", "x", "--save-ifs", saved}).status, 2);
  EXPECT_EQ(runRender({"--pattern", "Fern", "--add-to-collection"}).status, 2);
}

// --add-to-collection keeps the collection: the entry of the grid's name is replaced in place,
// every other byte kept; a file that is no collection is refused and kept; no maps, no entry.
TEST_F(Headless, AddsToAnIfsCollection) {
  QFile galleryFile(QStringLiteral(QUILLMERE_TEST_DATA "/ifs/gallery.ifs"));
  ASSERT_TRUE(galleryFile.open(QIODevice::ReadOnly));
  const QByteArray gallery = galleryFile.readAll();
  const QString collection = out(QStringLiteral("gallery.ifs"));
  const QString notes = out(QStringLiteral("notes.ifs"));
  const QString empty = out(QStringLiteral("empty.dat"));
  for (const auto& [path, bytes] :
       {std::pair{collection, gallery}, std::pair{notes, QByteArray("notes\n")},
        std::pair{empty, QByteArray("0\r\n")}}) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
  }

  const ToolRun added =
      runRender({"--pattern", "fern", "--save-ifs", collection, "--add-to-collection"});
  ASSERT_EQ(added.status, 0) << added.errors.toStdString();
  QFile result(collection);
  ASSERT_TRUE(result.open(QIODevice::ReadOnly));
  const QByteArray bytes = result.readAll();
  const qsizetype fern = gallery.indexOf("Fern {");
  const qsizetype afterFern = gallery.indexOf("}\n") + 1;
  EXPECT_TRUE(bytes.startsWith(gallery.first(fern)));
  EXPECT_TRUE(bytes.endsWith(gallery.sliced(afterFern)));
  EXPECT_TRUE(bytes.sliced(fern).startsWith("Fern {\n  ; Written by Quillmere\n"));
  const Result<std::vector<IfsEntry>> read = readIfsFile(collection);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->size(), 4u);

  const ToolRun refused =
      runRender({"--pattern", "fern", "--save-ifs", notes, "--add-to-collection"});
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.errors, kInvalidFormatMessage +
                                QStringLiteral("\nLine 1: \"notes\" stands outside any entry; an "
                                               "entry starts with its name and \"{\" on one "
                                               "line.\n"));
  const ToolRun none =
      runRender({"--params", empty, "--save-ifs", out(QStringLiteral("none.ifs"))});
  EXPECT_EQ(none.status, 1);
  EXPECT_EQ(none.errors, QStringLiteral("There are no maps to export.\n"));
  EXPECT_FALSE(QFile::exists(out(QStringLiteral("none.ifs"))));
}

// The report of the maps the grid reads, to standard output or a file, alone or with a picture;
// the same game every run, so both are the same.
TEST_F(Headless, WritesTheMathsReport) {
  const ToolRun printed =
      runRender({"--pattern", "sierpinski", "--report", "-", "--report-points", "200000"});
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
      runRender({"--pattern", "Sierpinski", "--report", json, "--report-points", "200000", "--mode",
                 "chaos", "--iterations", "1000", "--size", "64x48", "--output", picture});
  ASSERT_EQ(both.status, 0) << both.errors.toStdString();
  EXPECT_TRUE(QFile::exists(picture));
  QFile written(json);
  ASSERT_TRUE(written.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(written.readAll()), printed.output);

  const ToolRun refused = runRender(
      {"--pattern", "Fern", "--report", out("no/such/report.json"), "--report-points", "1000"});
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.errors, "Cannot save the report. Please try again.\n");
  const ToolRun none = runRender({"--pattern", "User", "--report", "-"});
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
