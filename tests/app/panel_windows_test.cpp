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
    program.form2->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(program.form2.get()));
  }
  void TearDown() override {
    program.drawRunner->cancel();
    waitUntil([this] { return !program.drawRunner->busy(); });
    program.form2->close();
  }

  QPushButton* button(const char* name) {
    return program.form2->findChild<QPushButton*>(QString::fromLatin1(name));
  }
  QLineEdit* text1() { return program.form2->findChild<QLineEdit*>(QStringLiteral("Text1")); }
  void draw(const char* count, const char* command) {
    text1()->setText(QString::fromLatin1(count));
    program.document->state.Text1 = text1()->text();
    QTest::mouseClick(button(command), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([this] { return !program.drawRunner->busy(); }));
  }
};

TEST_F(Windows, FocusStartsInTheCountAndComesBackThereAfterADrawing) {
  EXPECT_EQ(program.form2->focusWidget(), text1());
  QTest::keyClicks(program.form2->focusWidget(), QStringLiteral("5"));
  EXPECT_EQ(program.document->state.Text1, "5");

  QTest::mouseClick(button("cmdFractal"), Qt::LeftButton);
  ASSERT_TRUE(waitUntil([this] { return !program.drawRunner->busy(); }));
  EXPECT_TRUE(program.form1->isVisible());
  EXPECT_EQ(program.form2->focusWidget(), text1());

  // Tab reaches the buttons, so a user can still put focus on one.
  for (QPushButton* each : program.form2->findChildren<QPushButton*>()) {
    EXPECT_EQ(each->focusPolicy(), Qt::TabFocus) << each->objectName().toStdString();
  }
}

TEST_F(Windows, ADrawingBringsAMinimisedCanvasBack) {
  draw("3", "cmdFractal");
  program.form1->showMinimized();
  ASSERT_TRUE(program.form1->isMinimized());
  draw("100", "cmdChaos");
  EXPECT_TRUE(program.form1->isVisible());
  EXPECT_FALSE(program.form1->isMinimized());
}

TEST_F(Windows, EscapeAndShowPanelBringThePanelBackAndKeepThePicture) {
  draw("3", "cmdFractal");
  const QImage drawn = program.form1->canvas().picture();
  for (const char* way : {"Escape", "Show Panel"}) {
    SCOPED_TRACE(way);
    program.form1->showCanvas();
    ASSERT_TRUE(QTest::qWaitForWindowActive(program.form1.get()));
    if (QByteArray(way) == "Escape") {
      QTest::keyClick(program.form1.get(), Qt::Key_Escape);
    } else {
      QAction* showPanel = nullptr;
      for (QAction* action : program.form1->actions()) {
        if (action->text() == u"Show Panel") showPanel = action;
      }
      ASSERT_NE(showPanel, nullptr);
      showPanel->trigger();
    }
    EXPECT_TRUE(QTest::qWaitForWindowActive(program.form2.get()));
    EXPECT_TRUE(program.form1->isVisible());
    EXPECT_EQ(program.form1->canvas().picture(), drawn);
  }
}

TEST_F(Windows, AWindowLargerThanItsPictureShowsTheBackgroundBeyondIt) {
  draw("3", "cmdFractal");
  Canvas& canvas = program.form1->canvas();
  canvas.setBackColor(rgb(0, 160, 0));
  const double ratio = program.form1->devicePixelRatioF();
  const QSize picture(int(canvas.widthPixels() / ratio), int(canvas.heightPixels() / ratio));
  program.form1->resize(picture + QSize(120, 80));
  const QImage shown = program.form1->grab().toImage();
  EXPECT_EQ(shown.pixelColor(shown.width() - 2, 5), QColor(0, 160, 0));
  EXPECT_EQ(shown.pixelColor(5, shown.height() - 2), QColor(0, 160, 0));
}

TEST_F(Windows, ClosingThePanelEndsTheProgramAndClosesTheCanvas) {
  struct Case {
    const char* name;
    const char* count;
    const char* command;
  };
  for (const Case& c :
       {Case{"canvas shown", "3", "cmdFractal"}, Case{"while drawing", "2000000000", "cmdChaos"}}) {
    SCOPED_TRACE(c.name);
    text1()->setText(QString::fromLatin1(c.count));
    program.document->state.Text1 = text1()->text();
    QTest::mouseClick(button(c.command), Qt::LeftButton);
    if (!program.drawRunner->busy()) {
      ASSERT_TRUE(program.form1->isVisible());
    }
    QTimer::singleShot(0, [this] { program.form2->close(); });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });  // guard: closing did nothing
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(program.form1->isVisible());
    EXPECT_TRUE(waitUntil([this] { return !program.drawRunner->busy(); }));
    program.form2->show();
  }
}

TEST_F(Windows, F10OpensTheFirstMenuAndTheArrowsMoveOn) {
  auto* select = program.form2->findChild<QMenu*>(QStringLiteral("mnuSelect"));
  auto* reset = program.form2->findChild<QMenu*>(QStringLiteral("mnuReset"));
  QTest::keyClick(program.form2.get(), Qt::Key_F10);
  ASSERT_TRUE(waitUntil([select] { return select->isVisible(); }));
  QTest::keyClick(select, Qt::Key_Right);
  EXPECT_TRUE(waitUntil([reset] { return reset->isVisible(); }));
  QTest::keyClick(reset, Qt::Key_Escape);
  QStringList captions;
  for (QAction* menu : program.form2->menuBar()->actions()) captions << menu->text();
  EXPECT_EQ(captions,
            (QStringList{"Select a Pattern", "Reset a Pattern", "Choose color", "Tools"}));
}

// Captions of one kind share one size, every caption fits its box, and the face asked for is a
// face the machine has.
TEST_F(Windows, CaptionsOfOneKindShareOneFittingSizeInAnInstalledFace) {
  const QStringList fieldLabels = {
      "Number of Iteration:", "r:", "s:", "angle 1:", "angle 2:", "i:"};
  QList<QWidget*> labels;
  for (QLabel* label : program.form2->findChildren<QLabel*>()) {
    if (fieldLabels.contains(label->text())) labels << label;
  }
  QList<QWidget*> buttons;
  for (QPushButton* each : program.form2->findChildren<QPushButton*>()) buttons << each;
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
