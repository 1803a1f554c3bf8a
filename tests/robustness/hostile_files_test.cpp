// Files from anywhere: whatever a parameter or preset file holds, Load and the pattern menu show
// the program's message and change nothing.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "core/maps/pattern_catalogue.h"
#include "support/fakes.h"

namespace quill {
namespace {

using testing::PanelFixture;

const QString kNotFound =
    QStringLiteral("File not found.\nPlease make sure the file name you specify exists.");
const QString kInvalidFormat = QStringLiteral("Cannot load the file: invalid file format.");

bool writeAll(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A panel holding the fern, read into the map table, so any change shows.
struct Loaded {
  Loaded() {
    choosePattern(f.document, kFernPattern);
    EXPECT_TRUE(f.readTable());
    table = f.drawing.maps;
    grid = f.state.grid;
  }
  void expectUnchanged() const {
    EXPECT_EQ(f.state.grid, grid);
    EXPECT_EQ(f.drawing.maps.mapCount, table.mapCount);
    EXPECT_EQ(f.drawing.maps.mapA, table.mapA);
    EXPECT_EQ(f.drawing.maps.mapP, table.mapP);
    EXPECT_EQ(f.drawing.maps.mapCumP, table.mapCumP);
  }
  PanelFixture f;
  MapTable table;
  decltype(PanelState::grid) grid;
};

TEST(HostileFiles, LoadRefusesWhatIsNoParameterFile) {
  QTemporaryDir dir;
  QByteArray noise(64 * 1024, '\0');
  QRandomGenerator random(7);
  for (char& byte : noise) byte = char(random.bounded(256));
  const struct {
    const char* name;
    QByteArray bytes;
  } cases[] = {
      {"binary noise", noise},
      {"a line of ten million characters", QByteArray(10'000'000, '1')},
      {"count -1e300", "-1e300\r\n0.5,0,0,0.5,0,0,1\r\n"},
      {"rows missing", "3\r\n0.5,0,0,0.5,0,0,1\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = dir.filePath(QStringLiteral("hostile.dat"));
    ASSERT_TRUE(writeAll(path, c.bytes));
    Loaded loaded;
    loaded.f.dialogs.openAnswers = {path};
    loadParameters(loaded.f.document);
    EXPECT_EQ(loaded.f.dialogs.messages, QStringList{kInvalidFormat});
    loaded.expectUnchanged();
  }
}

TEST(HostileFiles, LoadOfHugeFilesReadsOnlyWhatItNeeds) {
  QTemporaryDir dir;
  // 200 MB, sparse: a row the reader can use, then zeros; and zeros from the first byte.
  const QString valid = dir.filePath(QStringLiteral("valid-then-zeros.dat"));
  const QString zeros = dir.filePath(QStringLiteral("zeros.dat"));
  for (const QString& path : {valid, zeros}) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    if (path == valid) file.write("1\r\n0.5,0,0,0.5,0.25,0,1\r\n");
    ASSERT_TRUE(file.resize(200LL * 1024 * 1024));
  }
  Loaded refused;
  refused.f.dialogs.openAnswers = {zeros};
  loadParameters(refused.f.document);
  EXPECT_EQ(refused.f.dialogs.messages, QStringList{kInvalidFormat});
  refused.expectUnchanged();

  PanelFixture f;
  f.dialogs.openAnswers = {valid};
  loadParameters(f.document);
  EXPECT_TRUE(f.dialogs.messages.isEmpty());
  EXPECT_EQ(f.state.cell(1, kColE), "0.25");
}

TEST(HostileFiles, LoadRefusesPathsThatCannotBeRead) {
  QTemporaryDir dir;
  {
    SCOPED_TRACE("a folder");
    Loaded loaded;
    loaded.f.dialogs.openAnswers = {dir.path()};
    loadParameters(loaded.f.document);
    EXPECT_EQ(loaded.f.dialogs.messages, QStringList{kInvalidFormat});
    loaded.expectUnchanged();
  }
  {
    SCOPED_TRACE("deleted between the dialog and the read");
    const QString path = dir.filePath(QStringLiteral("gone.dat"));
    ASSERT_TRUE(writeAll(path, "1\r\n0.5,0,0,0.5,0,0,1\r\n"));
    Loaded loaded;
    loaded.f.dialogs.openAnswers = {path};
    loaded.f.dialogs.whenOpenAnswers = [](const QString& name) { QFile::remove(name); };
    loadParameters(loaded.f.document);
    EXPECT_EQ(loaded.f.dialogs.messages, QStringList{kNotFound});
    loaded.expectUnchanged();
  }
}

TEST(HostileFiles, LoadRefusesAFileItMayNotRead) {
  // Root reads anything, so the tool is run as an unprivileged user on a file only root may read.
  const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
  if (setpriv.isEmpty() || ::geteuid() != 0) GTEST_SKIP() << "needs root and setpriv";
  QTemporaryDir dir;
  QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                        QFileDevice::ExeOwner | QFileDevice::ExeOther |
                                        QFileDevice::ReadOther);
  const QString path = dir.filePath(QStringLiteral("secret.dat"));
  ASSERT_TRUE(writeAll(path, "1\r\n0.5,0,0,0.5,0,0,1\r\n"));
  QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  QProcess process;
  process.start(setpriv, {"--reuid=65534", "--regid=65534", "--clear-groups",
                          QStringLiteral(QUILLMERE_RENDER_BIN), "--params", path, "--mode",
                          "blueprint", "--size", "64x48", "--output", "/dev/null/never.png"});
  ASSERT_TRUE(process.waitForFinished(60000));
  const QString errors = QString::fromLocal8Bit(process.readAllStandardError());
  if (process.exitCode() == 126 || process.exitCode() == 127) {  // setpriv could not start it
    GTEST_SKIP() << "the tool cannot run as an unprivileged user here: " << errors.toStdString();
  }
  EXPECT_EQ(process.exitCode(), 1);
  EXPECT_EQ(errors, kInvalidFormat + u'\n');
}

TEST(HostileFiles, MissingPresetFolderShowsNotFoundEachTime) {
  PanelFixture f;
  f.document.presetDirectory = QStringLiteral("/nonexistent/quillmere/presets");
  choosePattern(f.document, kFernPattern);
  resetPattern(f.document, kFernPattern);
  EXPECT_EQ(f.dialogs.messages, (QStringList{kNotFound, kNotFound}));
  EXPECT_EQ(f.state.caption, "Fern");
  EXPECT_FALSE(f.state.patternLoaded[kFernPattern]);
  for (int row = 1; row <= kGridRows; ++row) EXPECT_TRUE(f.state.cell(row, kColA).isEmpty());
}

}  // namespace
}  // namespace quill
