#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QProcess>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QUrl>

#include "app/map_editor.h"
#include "app/picture_dialog.h"
#include "support/running_program.h"

namespace quill {
namespace {

// The program started with an empty grid, and a picture of the fern that quillmere-render wrote.
class OpenFiles : public testing::RunningProgram {
 protected:
  void SetUp() override {
    program.start();
    program.document->presetDirectory = QStringLiteral(QUILLMERE_PRESET_DIR);
    picture = dir.filePath(QStringLiteral("fern.png"));
    QProcess render;
    render.start(QStringLiteral(QUILLMERE_RENDER_BIN),
                 {QStringLiteral("--pattern"), QStringLiteral("Fern"), QStringLiteral("--mode"),
                  QStringLiteral("chaos"), QStringLiteral("--iterations"), QStringLiteral("5000"),
                  QStringLiteral("--size"), QStringLiteral("300x200"), QStringLiteral("--pen"),
                  QStringLiteral("1A5E20"), QStringLiteral("--output"), picture});
    ASSERT_TRUE(render.waitForFinished(60000));
    ASSERT_EQ(render.exitCode(), 0);
  }

  // Drops `path` on `target` as a file manager would: a drag that enters, then the drop.
  static void drop(QWidget* target, const QString& path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &dropped);
    EXPECT_TRUE(dropped.isAccepted());
  }

  void expectTheFern() {
    EXPECT_EQ(cell(2, kColA), QStringLiteral("0.85"));
    EXPECT_EQ(cell(4, kColF), QStringLiteral("-0.073015"));
    EXPECT_TRUE(cell(5, kColA).isEmpty());
    EXPECT_EQ(program.document->state.caption, QStringLiteral("Fern"));
    EXPECT_EQ(program.document->state.countText, QStringLiteral("5000"));
    EXPECT_EQ(program.document->drawing.penColor, 0x1A5E20u);
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join(u'|').toStdString();
  }

  QTemporaryDir dir;
  QString picture;
};

TEST_F(OpenFiles, APictureDroppedOnThePanelIsOneUndoStep) {
  drop(program.controlPanel.get(), picture);
  expectTheFern();
  QAction* undo = program.controlPanel->findChild<QAction*>(QStringLiteral("undoAction"));
  ASSERT_NE(undo, nullptr);
  EXPECT_EQ(undo->text(), QStringLiteral("Undo Open fern.png"));
  // The picture's other settings wait in the Render Picture window.
  PictureDialog* dialog = program.controlPanel->pictureDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->findChild<QSpinBox*>(QStringLiteral("pictureWidth"))->value(), 300);
  undo->trigger();
  EXPECT_TRUE(cell(1, kColA).isEmpty());
  EXPECT_EQ(program.controlPanel->findChild<QLineEdit*>(ControlPanel::cellName(1, kColA))->text(),
            QString());
}

TEST_F(OpenFiles, AFileDroppedOnAFieldOpensRatherThanTypingItsName) {
  QLineEdit* field = program.controlPanel->findChild<QLineEdit*>(ControlPanel::cellName(3, kColB));
  ASSERT_NE(field, nullptr);
  drop(field, picture);
  expectTheFern();
  EXPECT_EQ(field->text(), QStringLiteral("-0.26"));
}

TEST_F(OpenFiles, AParameterFileDroppedOnTheMapEditorOpens) {
  const QString saved = dir.filePath(QStringLiteral("two.dat"));
  QFile file(saved);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("2\n0.5,0,0,0.5,0,0,0.5\n0.5,0,0,0.5,0.25,0.5,0.5\n");
  file.close();
  program.controlPanel->openMapEditor();
  drop(program.controlPanel->mapEditor(), saved);
  EXPECT_EQ(cell(2, kColE), QStringLiteral("0.25"));
  EXPECT_TRUE(cell(3, kColA).isEmpty());
  EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join(u'|').toStdString();
}

TEST_F(OpenFiles, EachFileThatDoesNotOpenIsShownAndChangesNothing) {
  const QString fifo = dir.filePath(QStringLiteral("fifo.ifs"));
  ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
  program.controlPanel->openFiles({dir.filePath(QStringLiteral("missing.dat")),
                                   QStringLiteral(QUILLMERE_PRESET_DIR "/x.png"), fifo,
                                   dir.path()});
  EXPECT_EQ(dialogs.messages.size(), 4);
  EXPECT_TRUE(cell(1, kColA).isEmpty());
  EXPECT_FALSE(
      program.controlPanel->findChild<QAction*>(QStringLiteral("undoAction"))->isEnabled());
}

}  // namespace
}  // namespace quill
