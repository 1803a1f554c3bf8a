#include "app/remembered.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>

#include "app/map_canvas.h"
#include "app/map_editor.h"
#include "app/maths_report_window.h"
#include "app/picture_dialog.h"
#include "app/program.h"
#include "support/fakes.h"

namespace quill {
namespace {

// Runs of the program that keep their settings in a file of the test's own.
class Remembering : public ::testing::Test {
 protected:
  std::unique_ptr<Program> startProgram() {
    auto program = std::make_unique<Program>(dialogs, printer);
    program->settingsPath = path;
    program->start();
    program->document->presetDirectory = QStringLiteral(QUILLMERE_PRESET_DIR);
    return program;
  }
  static void quit(Program& program) {
    program.exit();
    program.controlPanel->close();
  }
  QByteArray fileBytes() const {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  void writeFile(const QByteArray& bytes) const {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  // The panel as every run starts it, whatever the settings hold.
  static void expectThePanelAsAlways(const Program& program) {
    EXPECT_EQ(program.document->state.caption, kAppTitle);
    EXPECT_TRUE(program.document->state.cell(1, kColA).isEmpty());
    EXPECT_EQ(program.document->drawing.penColor, kBlack);
    EXPECT_EQ(program.document->drawing.paperColor, kWhite);
  }

  QTemporaryDir dir;
  QString path = dir.filePath(QStringLiteral("quillmere.ini"));
  testing::ScriptedDialogs dialogs;
  testing::FakePrinter printer;
};

TEST_F(Remembering, TheNextRunFindsWhatTheLastLeft) {
  QRect editorGeometry;
  QPointF centre;
  double scale = 0;
  {
    std::unique_ptr<Program> first = startProgram();
    ControlPanel& panel = *first->controlPanel;
    panel.openMapEditor();
    panel.mapEditor()->setGeometry(140, 90, 500, 420);
    editorGeometry = panel.mapEditor()->geometry();
    MapCanvas* canvas = panel.mapEditor()->canvas();
    canvas->setView(QPointF(0.25, 0.75), 321);
    centre = canvas->toUnit(QPointF(canvas->width(), canvas->height()) / 2);
    scale = canvas->pixelsPerUnit();
    panel.mapEditor()->findChild<QSpinBox*>(QStringLiteral("fitTimeLimit"))->setValue(7);
    panel.openPictureDialog();
    panel.pictureDialog()->findChild<QSpinBox*>(QStringLiteral("pictureWidth"))->setValue(640);
    panel.pictureDialog()->findChild<QLineEdit*>(QStringLiteral("pictureSeed"))->setText("77");
    panel.pictureDialog()->close();  // closed: its settings are kept all the same
    first->document->fitImports = false;
    first->qtDialogs.setStartingNames({"/data/fern.dat", "/pictures/a.png", "/ifs/all.ifs"});
    panel.recentFiles().add(QStringLiteral("/data/fern.dat"));
    panel.recentFiles().add(QStringLiteral("/ifs/all.ifs"), QStringLiteral("Leaf"));
    quit(*first);
  }
  std::unique_ptr<Program> second = startProgram();
  ControlPanel& panel = *second->controlPanel;
  expectThePanelAsAlways(*second);
  ASSERT_NE(panel.mapEditor(), nullptr);
  EXPECT_TRUE(panel.mapEditor()->isVisible());
  EXPECT_EQ(panel.mapEditor()->geometry(), editorGeometry);
  const MapCanvas* canvas = panel.mapEditor()->canvas();
  EXPECT_DOUBLE_EQ(canvas->pixelsPerUnit(), scale);
  EXPECT_EQ(panel.mapEditor()->fitSeconds(), 7);
  const QPointF shown = canvas->toUnit(QPointF(canvas->width(), canvas->height()) / 2);
  EXPECT_NEAR(shown.x(), centre.x(), 1e-9);
  EXPECT_NEAR(shown.y(), centre.y(), 1e-9);
  EXPECT_EQ(panel.mathsReport(), nullptr);  // never opened
  ASSERT_NE(panel.pictureDialog(), nullptr);
  EXPECT_FALSE(panel.pictureDialog()->isVisible());
  EXPECT_EQ(panel.pictureDialog()->findChild<QSpinBox*>(QStringLiteral("pictureWidth"))->value(),
            640);
  EXPECT_EQ(panel.pictureDialog()->findChild<QLineEdit*>(QStringLiteral("pictureSeed"))->text(),
            QStringLiteral("77"));
  EXPECT_FALSE(second->document->fitImports);
  EXPECT_EQ(second->qtDialogs.startingNames(),
            QStringList({"/data/fern.dat", "/pictures/a.png", "/ifs/all.ifs"}));
  const QList<RecentFile> recent = {{QStringLiteral("/ifs/all.ifs"), QStringLiteral("Leaf")},
                                    {QStringLiteral("/data/fern.dat"), QString()}};
  EXPECT_EQ(panel.recentFiles().files(), recent);
  quit(*second);
}

struct SettingsFileRow {
  const char* name;
  QByteArray bytes;
  const char* says;
  bool keptAsItWas;  // a newer version's file is not written over
};

class UnreadableSettings : public Remembering,
                           public ::testing::WithParamInterface<SettingsFileRow> {};

TEST_P(UnreadableSettings, AreIgnoredWithAMessage) {
  writeFile(GetParam().bytes);
  ::testing::internal::CaptureStderr();
  std::unique_ptr<Program> program = startProgram();
  const std::string errors = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(errors.find(GetParam().says), std::string::npos) << errors;
  expectThePanelAsAlways(*program);
  EXPECT_EQ(program->controlPanel->mapEditor(), nullptr);
  EXPECT_TRUE(program->controlPanel->recentFiles().files().isEmpty());
  EXPECT_TRUE(program->document->fitImports);
  quit(*program);
  if (GetParam().keptAsItWas) {
    EXPECT_EQ(fileBytes(), GetParam().bytes);
  } else {
    EXPECT_TRUE(Remembered(path).usable());  // written afresh, and read the next time
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, UnreadableSettings,
    ::testing::Values(
        SettingsFileRow{"Binary", QByteArray("\x89\x00\xff\xfe[\x01\x02]\x00=\x00\n\xc3", 14),
                        "damaged", false},
        SettingsFileRow{"NoVersion", QByteArray("[windows]\nmapEditorOpen=true\n"), "damaged",
                        false},
        SettingsFileRow{"VersionNotANumber",
                        QByteArray("[format]\nversion=one\n[windows]\nmapEditorOpen=true\n"),
                        "damaged", false},
        SettingsFileRow{"NewerVersion",
                        QByteArray("[format]\nversion=99\n[windows]\nmapEditorOpen=true\n"),
                        "newer Quillmere (version 99)", true}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace quill
