#include "app/picture_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QToolButton>

#include "app/program.h"
#include "core/commands/drawing_checks.h"
#include "support/row_name.h"
#include "support/running_program.h"
#include "support/wait.h"

namespace quill {
namespace {

using testing::waitUntil;

QByteArray contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The running program with the Sierpinski maps in the grid and "Render Picture..." open.
class PictureDialogTest : public testing::RunningProgram {
 protected:
  void SetUp() override {
    startWith(kSierpinskiPattern);
    trigger(QStringLiteral("renderPictureAction"));
    dialog = program.controlPanel->pictureDialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(dialog->isVisible());
  }

  template <typename Widget>
  Widget* field(const char* name) {
    return dialog->findChild<Widget*>(QString::fromLatin1(name));
  }
  // Fills the dialog's fields as a user would, for the chaos game.
  void settle(int width, int height, const char* points, Shading shading, const QString& path) {
    field<QSpinBox>("pictureWidth")->setValue(width);
    field<QSpinBox>("pictureHeight")->setValue(height);
    field<QComboBox>("pictureMode")->setCurrentIndex(int(PictureMode::ChaosGame));
    field<QLineEdit>("picturePoints")->setText(QString::fromLatin1(points));
    field<QComboBox>("pictureShading")->setCurrentIndex(int(shading));
    field<QLineEdit>("pictureFile")->setText(path);
  }
  void clickRender() { QTest::mouseClick(field<QPushButton>("pictureRender"), Qt::LeftButton); }
  QString status() { return field<QLabel>("pictureStatus")->text(); }

  QTemporaryDir dir;
  PictureDialog* dialog = nullptr;
};

// The dialog and quillmere-render make the same file from the same settings, byte for byte.
TEST_F(PictureDialogTest, WritesTheFileQuillmereRenderWrites) {
  const struct {
    const char* name;
    Shading shading;
    bool meanOnClearPaper;
    QStringList options;
  } cases[] = {
      {"density, gamma, supersampled",
       Shading::Density,
       false,
       {"--shade", "density", "--gamma", "1.5", "--supersample", "2"}},
      {"by map, one colour chosen, 16 bits",
       Shading::ByMap,
       false,
       {"--shade", "by-map", "--map-colours", "102030", "--depth16"}},
      {"density, mean tone, transparent paper",
       Shading::Density,
       true,
       {"--shade", "density", "--gamma", "1.5", "--supersample", "2", "--tone", "mean",
        "--gamma-threshold", "0.05", "--transparent"}},
  };
  // Opened afresh, the dialog takes the pen the panel's colour command set.
  dialog->close();
  program.document->drawing.penColor = rgb(0x1A, 0x5E, 0x20);
  trigger(QStringLiteral("renderPictureAction"));
  const QStringList pen = {"--pen", "1A5E20"};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const QString mine = dir.filePath(QStringLiteral("dialog.png"));
    settle(160, 120, "40000", c.shading, mine);
    if (c.shading == Shading::Density) {
      field<QDoubleSpinBox>("pictureGamma")->setValue(1.5);
      field<QSpinBox>("pictureSupersample")->setValue(2);
      field<QCheckBox>("pictureDepth16")->setChecked(false);
    } else {
      field<QDoubleSpinBox>("pictureGamma")->setValue(2.2);
      field<QSpinBox>("pictureSupersample")->setValue(1);
      dialogs.colorAnswers.push_back(rgb(0x10, 0x20, 0x30));
      QTest::mouseClick(field<QToolButton>("pictureMapColour_1"), Qt::LeftButton);
      field<QCheckBox>("pictureDepth16")->setChecked(true);
    }
    field<QComboBox>("pictureTone")->setCurrentIndex(c.meanOnClearPaper ? int(Tone::Mean) : 0);
    field<QDoubleSpinBox>("pictureGammaThreshold")->setValue(c.meanOnClearPaper ? 0.05 : 0.01);
    field<QCheckBox>("pictureTransparent")->setChecked(c.meanOnClearPaper);
    clickRender();
    ASSERT_TRUE(waitUntil([this] { return !dialog->rendering(); }, 60000));
    ASSERT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join(u'|').toStdString();
    EXPECT_TRUE(status().startsWith(QStringLiteral("Written to"))) << status().toStdString();

    const QString theirs = dir.filePath(QStringLiteral("tool.png"));
    QProcess tool;
    tool.start(QStringLiteral(QUILLMERE_RENDER_BIN),
               QStringList{"--pattern", "Sierpinski", "--mode", "chaos", "--iterations", "40000",
                           "--size", "160x120", "--output", theirs} +
                   pen + c.options);
    ASSERT_TRUE(tool.waitForFinished(60000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    const QByteArray written = contents(mine);
    EXPECT_FALSE(written.isEmpty());
    EXPECT_TRUE(written == contents(theirs));
  }
}

// Cancel, closing the window and the panel's Exit stop a long render at once, with no box to
// answer; an earlier file stays as it was, and no file appears where there was none.
TEST_F(PictureDialogTest, CancelCloseAndExitLeaveTheFileAsItWas) {
  const QString earlier = dir.filePath(QStringLiteral("earlier.png"));
  {
    QFile file(earlier);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("an earlier picture");
  }
  const QString fresh = dir.filePath(QStringLiteral("fresh.png"));
  dialogs.replaceAnswers = {true};  // asked once, for the earlier file
  for (const std::string way : {"cancel", "close", "exit"}) {
    for (const QString& path : {earlier, fresh}) {
      SCOPED_TRACE(way + " " + path.toStdString());
      dialog->show();
      settle(2000, 2000, "2000000000", Shading::Density, path);
      clickRender();
      ASSERT_TRUE(dialog->rendering());
      EXPECT_FALSE(field<QPushButton>("pictureRender")->isEnabled());
      QTest::qWait(200);
      if (way == "close") {
        dialog->close();
        EXPECT_FALSE(dialog->rendering());
      } else if (way == "exit") {
        QTest::mouseClick(program.controlPanel->findChild<QPushButton*>("exitButton"),
                          Qt::LeftButton);
        EXPECT_FALSE(dialog->rendering());
        EXPECT_FALSE(dialog->isVisible());
      } else {
        QTest::mouseClick(field<QPushButton>("pictureCancel"), Qt::LeftButton);
        ASSERT_TRUE(waitUntil([this] { return !dialog->rendering(); }));
      }
      EXPECT_TRUE(status().startsWith(QStringLiteral("Cancelled"))) << status().toStdString();
      EXPECT_TRUE(field<QPushButton>("pictureRender")->isEnabled());
      EXPECT_TRUE(dialogs.messages.isEmpty());
    }
    EXPECT_EQ(dialogs.replaceQuestions.size(), 1);
    EXPECT_EQ(contents(earlier), "an earlier picture");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"earlier.png"});
  }
}

// A refused field shows the message the drawing command would, and nothing is rendered; the
// panel's count keeps its text.
TEST_F(PictureDialogTest, RefusesBadFieldsWithTheDrawingCommandsMessages) {
  program.document->state.countText = QStringLiteral("7");
  const QString path = dir.filePath(QStringLiteral("x.png"));
  const struct {
    PictureMode mode;
    const char* count;
    const char* seed;
    QString file;
    QString message;
  } cases[] = {
      {PictureMode::Fractal, "21", "1", path, kTooDeepMessage},
      {PictureMode::Fractal, "abc", "1", path, kImproperCountMessage},
      {PictureMode::ChaosGame, "", "1", path, kEmptyCountMessage},
      {PictureMode::ChaosGame, "100", "-3", path,
       "The seed must be a whole number from 0 to 18446744073709551615."},
      {PictureMode::ChaosGame, "100", "1", QString(), "Please choose the file to write."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message.toStdString());
    dialogs.messages.clear();
    field<QComboBox>("pictureMode")->setCurrentIndex(int(c.mode));
    field<QLineEdit>(c.mode == PictureMode::Fractal ? "pictureDepth" : "picturePoints")
        ->setText(QString::fromLatin1(c.count));
    field<QLineEdit>("pictureSeed")->setText(QString::fromLatin1(c.seed));
    field<QLineEdit>("pictureFile")->setText(c.file);
    clickRender();
    EXPECT_FALSE(dialog->rendering());
    EXPECT_EQ(dialogs.messages, QStringList{c.message});
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(program.document->state.countText, "7");
  }
  // A bad cell of the grid, as the drawing buttons report it.
  program.document->state.cell(1, kColA) = QStringLiteral("x");
  dialogs.messages.clear();
  field<QComboBox>("pictureMode")->setCurrentIndex(int(PictureMode::BluePrint));
  field<QLineEdit>("pictureFile")->setText(path);
  clickRender();
  EXPECT_FALSE(dialog->rendering());
  EXPECT_FALSE(QFile::exists(path));
  const QStringList shown = dialogs.messages;
  dialogs.messages.clear();
  drawBluePrint(*program.document);
  EXPECT_EQ(shown.size(), 1);
  EXPECT_EQ(shown, dialogs.messages);
}

// A Cancel that comes once the file is complete finds it written, and the status line says so.
// A refusal after that replaces the "Written to" line; where a relative name led is named.
TEST_F(PictureDialogTest, TheOutcomeDecidesTheStatusLine) {
  const QString path = dir.filePath(QStringLiteral("quick.png"));
  settle(64, 48, "1000", Shading::Flat, path);
  clickRender();
  // The worker writes the file and posts its outcome; the Cancel button is pressed before this
  // thread has looked at it.
  QDeadlineTimer deadline(20000);
  while (!QFile::exists(path) && !deadline.hasExpired()) QThread::msleep(5);
  QThread::msleep(100);
  field<QPushButton>("pictureCancel")->click();
  ASSERT_TRUE(waitUntil([this] { return !dialog->rendering(); }));
  EXPECT_EQ(status(), "Written to " + QDir::toNativeSeparators(path));

  const QString relative =
      QStringLiteral("no-such-folder-%1/x.png").arg(QCoreApplication::applicationPid());
  const QString refusal =
      QStringLiteral(
          "Cannot save the picture. Please try again.\nThe name %1 is relative to the program's "
          "working folder, %2.")
          .arg(QDir::toNativeSeparators(relative), QDir::toNativeSeparators(QDir::currentPath()));
  field<QLineEdit>("pictureFile")->setText(relative);
  clickRender();
  ASSERT_TRUE(waitUntil([this] { return !dialog->rendering(); }));
  EXPECT_EQ(status(), refusal);
  EXPECT_EQ(dialogs.messages, QStringList{refusal});

  field<QLineEdit>("pictureFile")->setText(path);
  clickRender();
  ASSERT_TRUE(waitUntil([this] { return !dialog->rendering(); }));
  EXPECT_TRUE(status().startsWith(QStringLiteral("Written to")));
  field<QLineEdit>("picturePoints")->setText(QString());
  clickRender();
  EXPECT_EQ(status(), kEmptyCountMessage);
}

// Before a render replaces a file it asks, once for each file; No leaves the file alone.
TEST_F(PictureDialogTest, AsksBeforeReplacingAFile) {
  const QString path = dir.filePath(QStringLiteral("old.png"));
  {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("an old picture");
  }
  settle(64, 48, "1000", Shading::Flat, path);
  dialogs.replaceAnswers = {false};
  clickRender();
  EXPECT_FALSE(dialog->rendering());
  EXPECT_EQ(dialogs.replaceQuestions, QStringList{QDir::toNativeSeparators(path)});
  EXPECT_EQ(contents(path), "an old picture");

  dialogs.replaceAnswers = {true};
  for (int render = 0; render < 2; ++render) {
    clickRender();
    ASSERT_TRUE(waitUntil([this] { return !dialog->rendering(); }));
    EXPECT_TRUE(status().startsWith(QStringLiteral("Written to"))) << status().toStdString();
  }
  EXPECT_EQ(dialogs.replaceQuestions.size(), 2);
  EXPECT_TRUE(contents(path).startsWith("\x89PNG"));
}

struct TypeRow {
  const char* name;
  const char* file;
  QByteArray start;  // of the file written; empty: the name is refused
};

class PictureDialogTypes : public PictureDialogTest,
                           public ::testing::WithParamInterface<TypeRow> {};

// The name's extension decides the file's type, in any case; an extension of no type the dialog
// writes is refused, naming those it does.
TEST_P(PictureDialogTypes, WriteTheTypeTheNameAsksFor) {
  const TypeRow& row = GetParam();
  const QString path = dir.filePath(QString::fromLatin1(row.file));
  settle(64, 48, "1000", Shading::Density, path);
  clickRender();
  ASSERT_TRUE(waitUntil([this] { return !dialog->rendering(); }));
  if (row.start.isEmpty()) {
    EXPECT_EQ(dialogs.messages, QStringList{kPictureFormatMessage});
    EXPECT_EQ(status(), kPictureFormatMessage);
    EXPECT_FALSE(QFile::exists(path));
  } else {
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join(u'|').toStdString();
    EXPECT_TRUE(contents(path).startsWith(row.start));
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, PictureDialogTypes,
                         ::testing::Values(TypeRow{"bmp", "x.bmp", "BM"},
                                           TypeRow{"jpeg_any_case", "x.JPEG", "\xFF\xD8\xFF"},
                                           TypeRow{"png_without_extension", "x", "\x89PNG"},
                                           TypeRow{"gif_refused", "x.gif", {}}),
                         testing::RowName());

// The Fractal's depth and the Chaos Game's points are fields of their own, each used by its own
// drawing and kept when the drawing or the window changes; the panel's count starts the one it
// suits.
TEST_F(PictureDialogTest, DepthAndPointsAreFieldsOfTheirOwn) {
  const struct {
    const char* name;
    const char* panelCount;
    const char* depth;
    const char* points;
  } rows[] = {
      {"an empty count", "", "7", "1000000"},
      {"a fractal's depth", "5", "5", "1000000"},
      {"deeper than a fractal goes", "21", "7", "21"},
      {"a chaos game's points", "200000", "7", "200000"},
      {"no number", "abc", "7", "1000000"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    program.document->state.countText = QString::fromLatin1(row.panelCount);
    PictureDialog fresh(*program.document);
    EXPECT_EQ(fresh.findChild<QLineEdit*>(QStringLiteral("pictureDepth"))->text(), row.depth);
    EXPECT_EQ(fresh.findChild<QLineEdit*>(QStringLiteral("picturePoints"))->text(), row.points);
  }

  auto* mode = field<QComboBox>("pictureMode");
  mode->setCurrentIndex(int(PictureMode::Fractal));
  field<QLineEdit>("pictureDepth")->setText(QStringLiteral("21"));
  mode->setCurrentIndex(int(PictureMode::ChaosGame));
  field<QLineEdit>("picturePoints")->setText(QStringLiteral("300"));
  EXPECT_FALSE(field<QLineEdit>("pictureDepth")->isEnabled());
  dialog->close();
  trigger(QStringLiteral("renderPictureAction"));
  EXPECT_EQ(field<QLineEdit>("pictureDepth")->text(), QStringLiteral("21"));
  EXPECT_EQ(field<QLineEdit>("picturePoints")->text(), QStringLiteral("300"));

  const QString path = dir.filePath(QStringLiteral("kept.png"));
  field<QLineEdit>("pictureFile")->setText(path);
  clickRender();  // 300 points, not a depth of 21
  ASSERT_TRUE(waitUntil([this] { return !dialog->rendering(); }));
  EXPECT_TRUE(status().startsWith(QStringLiteral("Written to"))) << status().toStdString();
  mode->setCurrentIndex(int(PictureMode::Fractal));
  clickRender();
  EXPECT_EQ(status(), kTooDeepMessage);
}

// An SVG has no depth of colour and no pixels to supersample; a long name is shown whole.
TEST_F(PictureDialogTest, SvgGreysThePixelSettingsAndTheNameIsNotCut) {
  field<QComboBox>("pictureMode")->setCurrentIndex(int(PictureMode::Fractal));
  for (const char* name : {"gasket.svg", "gasket.png"}) {
    SCOPED_TRACE(name);
    const bool svg = QByteArray(name).endsWith(".svg");
    field<QLineEdit>("pictureFile")->setText(QString::fromLatin1(name));
    EXPECT_EQ(field<QCheckBox>("pictureDepth16")->isEnabled(), !svg);
    EXPECT_EQ(field<QSpinBox>("pictureSupersample")->isEnabled(), !svg);
  }
  auto* file = field<QLineEdit>("pictureFile");
  const QString longName = QStringLiteral(
      "/tmp/a folder with a long name/and another one below "
      "it/the gasket at depth eight.png");
  file->setText(longName);
  QTest::qWait(20);
  EXPECT_GT(file->width(), file->fontMetrics().horizontalAdvance(longName));
  EXPECT_TRUE(file->toolTip().startsWith(longName));
}

}  // namespace
}  // namespace quill
