#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "app/program.h"
#include "core/canvas/canvas.h"
#include "support/running_program.h"
#include "support/wait.h"

namespace quill {
namespace {

using testing::waitUntil;

// The running program with the Sierpinski maps in the grid, as a user meets it.
class Windows : public testing::RunningProgram {
 protected:
  void SetUp() override {
    startWith(kSierpinskiPattern);
    program.controlPanel->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(program.controlPanel.get()));
  }
  void TearDown() override {
    program.drawRunner->cancel();
    waitUntil([this] { return !program.drawRunner->busy(); });
    program.controlPanel->close();
  }

  QPushButton* button(const char* name) {
    return program.controlPanel->findChild<QPushButton*>(QString::fromLatin1(name));
  }
  QLineEdit* countField() {
    return program.controlPanel->findChild<QLineEdit*>(QStringLiteral("countField"));
  }
  void draw(const char* count, const char* command) {
    countField()->setText(QString::fromLatin1(count));
    program.document->state.countText = countField()->text();
    QTest::mouseClick(button(command), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([this] { return !program.drawRunner->busy(); }));
  }
};

TEST_F(Windows, FocusStartsInTheCountAndComesBackThereAfterADrawing) {
  EXPECT_EQ(program.controlPanel->focusWidget(), countField());
  QTest::keyClicks(program.controlPanel->focusWidget(), QStringLiteral("5"));
  EXPECT_EQ(program.document->state.countText, "5");

  QTest::mouseClick(button("fractalButton"), Qt::LeftButton);
  ASSERT_TRUE(waitUntil([this] { return !program.drawRunner->busy(); }));
  EXPECT_TRUE(program.canvasWidget->isVisible());
  EXPECT_EQ(program.controlPanel->focusWidget(), countField());

  // Tab reaches the buttons, so a user can still put focus on one.
  for (QPushButton* each : program.controlPanel->findChildren<QPushButton*>()) {
    EXPECT_EQ(each->focusPolicy(), Qt::TabFocus) << each->objectName().toStdString();
  }
}

TEST_F(Windows, ADrawingBringsAMinimisedCanvasBack) {
  draw("3", "fractalButton");
  program.canvasWidget->showMinimized();
  ASSERT_TRUE(program.canvasWidget->isMinimized());
  draw("100", "chaosGameButton");
  EXPECT_TRUE(program.canvasWidget->isVisible());
  EXPECT_FALSE(program.canvasWidget->isMinimized());
}

TEST_F(Windows, EscapeAndShowPanelBringThePanelBackAndKeepThePicture) {
  draw("3", "fractalButton");
  const QImage drawn = program.canvasWidget->canvas().picture();
  for (const char* way : {"Escape", "Show Panel"}) {
    SCOPED_TRACE(way);
    program.canvasWidget->showCanvas();
    ASSERT_TRUE(QTest::qWaitForWindowActive(program.canvasWidget.get()));
    if (QByteArray(way) == "Escape") {
      QTest::keyClick(program.canvasWidget.get(), Qt::Key_Escape);
    } else {
      QAction* showPanel = nullptr;
      for (QAction* action : program.canvasWidget->actions()) {
        if (action->text() == u"Show Panel") showPanel = action;
      }
      ASSERT_NE(showPanel, nullptr);
      showPanel->trigger();
    }
    EXPECT_TRUE(QTest::qWaitForWindowActive(program.controlPanel.get()));
    EXPECT_TRUE(program.canvasWidget->isVisible());
    EXPECT_EQ(program.canvasWidget->canvas().picture(), drawn);
  }
}

TEST_F(Windows, AWindowLargerThanItsPictureShowsTheBackgroundBeyondIt) {
  draw("3", "fractalButton");
  Canvas& canvas = program.canvasWidget->canvas();
  canvas.setBackColor(rgb(0, 160, 0));
  const double ratio = program.canvasWidget->devicePixelRatioF();
  const QSize picture(int(canvas.widthPixels() / ratio), int(canvas.heightPixels() / ratio));
  program.canvasWidget->resize(picture + QSize(120, 80));
  const QImage shown = program.canvasWidget->grab().toImage();
  EXPECT_EQ(shown.pixelColor(shown.width() - 2, 5), QColor(0, 160, 0));
  EXPECT_EQ(shown.pixelColor(5, shown.height() - 2), QColor(0, 160, 0));
}

TEST_F(Windows, ClosingThePanelEndsTheProgramAndClosesTheCanvas) {
  struct Case {
    const char* name;
    const char* count;
    const char* command;
  };
  for (const Case& c : {Case{"canvas shown", "3", "fractalButton"},
                        Case{"while drawing", "2000000000", "chaosGameButton"}}) {
    SCOPED_TRACE(c.name);
    countField()->setText(QString::fromLatin1(c.count));
    program.document->state.countText = countField()->text();
    QTest::mouseClick(button(c.command), Qt::LeftButton);
    if (!program.drawRunner->busy()) {
      ASSERT_TRUE(program.canvasWidget->isVisible());
    }
    QTimer::singleShot(0, [this] { program.controlPanel->close(); });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });  // guard: closing did nothing
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(program.canvasWidget->isVisible());
    EXPECT_TRUE(waitUntil([this] { return !program.drawRunner->busy(); }));
    program.controlPanel->show();
  }
}

TEST_F(Windows, F10OpensTheFirstMenuAndTheArrowsMoveOn) {
  auto* select = program.controlPanel->findChild<QMenu*>(QStringLiteral("patternMenu"));
  auto* reset = program.controlPanel->findChild<QMenu*>(QStringLiteral("resetMenu"));
  QTest::keyClick(program.controlPanel.get(), Qt::Key_F10);
  ASSERT_TRUE(waitUntil([select] { return select->isVisible(); }));
  QTest::keyClick(select, Qt::Key_Right);
  EXPECT_TRUE(waitUntil([reset] { return reset->isVisible(); }));
  QTest::keyClick(reset, Qt::Key_Escape);
  QStringList captions;
  for (QAction* menu : program.controlPanel->menuBar()->actions()) captions << menu->text();
  EXPECT_EQ(captions,
            (QStringList{"Select a Pattern", "Reset a Pattern", "Choose color", "Tools"}));
}

// Captions of one kind share one size, every caption fits its box, and the face asked for is a
// face the machine has.
TEST_F(Windows, CaptionsOfOneKindShareOneFittingSizeInAnInstalledFace) {
  const QStringList fieldLabels = {
      "Number of Iteration:", "r:", "s:", "angle 1:", "angle 2:", "i:"};
  QList<QWidget*> labels;
  for (QLabel* label : program.controlPanel->findChildren<QLabel*>()) {
    if (fieldLabels.contains(label->text())) labels << label;
  }
  QList<QWidget*> buttons;
  for (QPushButton* each : program.controlPanel->findChildren<QPushButton*>()) buttons << each;
  ASSERT_EQ(labels.size(), fieldLabels.size());
  for (const QList<QWidget*>& kind : {labels, buttons}) {
    for (QWidget* widget : kind) {
      SCOPED_TRACE(widget->objectName().toStdString() + " " +
                   widget->property("text").toString().toStdString());
      EXPECT_EQ(widget->font().pointSizeF(), kind.front()->font().pointSizeF());
      EXPECT_LE(widget->sizeHint().width(), widget->width());
      EXPECT_EQ(QFontInfo(widget->font()).family(), widget->font().family());
    }
  }
}

}  // namespace
}  // namespace quill
