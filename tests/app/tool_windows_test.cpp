#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>

#include "app/map_editor.h"
#include "app/maths_report_window.h"
#include "app/picture_dialog.h"
#include "support/running_program.h"
#include "support/wait.h"

namespace quill {
namespace {

using testing::waitUntil;

// Names the windows in the order they were raised.
class RaiseLog : public QObject {
 public:
  void watch(QWidget* window) { window->installEventFilter(this); }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::ZOrderChange) raised << watched->objectName();
    return false;
  }
  // The windows raised after the last raise of `name`.
  QStringList after(const QString& name) const { return raised.mid(raised.lastIndexOf(name) + 1); }
  QStringList raised;
};

// The running program with the Sierpinski maps in the grid.
class ToolWindows : public testing::RunningProgram {
 protected:
  void SetUp() override {
    startWith(kSierpinskiPattern);
    program.canvasWidget->setObjectName(QStringLiteral("canvas"));
  }
  void TearDown() override {
    program.drawRunner->cancel();
    waitUntil([this] { return !program.drawRunner->busy(); });
    program.controlPanel->close();
  }
  void drawChaosGame() {
    program.document->state.countText = QStringLiteral("1000");
    program.controlPanel->findChild<QPushButton*>(QStringLiteral("chaosGameButton"))->click();
    ASSERT_TRUE(waitUntil([this] { return !program.drawRunner->busy(); }));
    ASSERT_TRUE(program.canvasWidget->isVisible());
  }

 public:
  QWidget* editor() { return program.controlPanel->mapEditor(); }
  QWidget* report() { return program.controlPanel->mathsReport(); }
  QWidget* picture() { return program.controlPanel->pictureDialog(); }
};

// The full-screen canvas comes to the front with its drawing; the open tool windows come back in
// front of it, a closed one stays closed, and the canvas still bears the panel's caption.
TEST_F(ToolWindows, ComeBackInFrontOfTheCanvasADrawingShows) {
  trigger(QStringLiteral("mapEditorAction"));
  trigger(QStringLiteral("mathsReportAction"));
  trigger(QStringLiteral("renderPictureAction"));
  RaiseLog log;
  for (QWidget* window :
       {static_cast<QWidget*>(program.canvasWidget.get()), editor(), report(), picture()}) {
    log.watch(window);
  }
  drawChaosGame();
  QTest::qWait(20);  // the canvas's activation, which raises them once more
  QStringList after = log.after(QStringLiteral("canvas"));
  after.sort();
  after.removeDuplicates();  // raised when shown, and again once the canvas is active
  EXPECT_EQ(after, QStringList({"mapEditor", "mathsReport", "pictureDialog"}));
  EXPECT_EQ(program.canvasWidget->windowTitle(), QStringLiteral("Sierpinski"));

  report()->close();
  log.raised.clear();
  drawChaosGame();
  QTest::qWait(20);
  EXPECT_FALSE(report()->isVisible());
  EXPECT_FALSE(log.raised.contains(QStringLiteral("mathsReport")));
  EXPECT_TRUE(log.after(QStringLiteral("canvas")).contains(QStringLiteral("mapEditor")));
}

// Ctrl+E, Ctrl+M and Ctrl+R open the editor, the report and the picture dialog from the canvas
// as from the panel.
TEST_F(ToolWindows, OpenWithTheirKeysFromTheCanvasAndThePanel) {
  drawChaosGame();
  const struct {
    const char* name;
    Qt::Key key;
    std::function<QWidget*(ToolWindows&)> window;
  } rows[] = {
      {"Ctrl+E: Map Editor", Qt::Key_E, [](ToolWindows& t) { return t.editor(); }},
      {"Ctrl+M: Maths Report", Qt::Key_M, [](ToolWindows& t) { return t.report(); }},
      {"Ctrl+R: Render Picture", Qt::Key_R, [](ToolWindows& t) { return t.picture(); }},
  };
  for (QWidget* from : {static_cast<QWidget*>(program.canvasWidget.get()),
                        static_cast<QWidget*>(program.controlPanel.get())}) {
    for (const auto& row : rows) {
      SCOPED_TRACE(std::string(row.name) +
                   (from == program.canvasWidget.get() ? " on the canvas" : " on the panel"));
      if (QWidget* open = row.window(*this)) open->close();
      from->activateWindow();
      ASSERT_TRUE(QTest::qWaitForWindowActive(from));
      QWidget* focus = from == program.controlPanel.get()
                           ? static_cast<QWidget*>(program.controlPanel->findChild<QLineEdit*>(
                                 QStringLiteral("cell_a_1")))
                           : from;
      focus->setFocus();
      QTest::keyClick(focus, row.key, Qt::ControlModifier);
      ASSERT_NE(row.window(*this), nullptr);
      EXPECT_TRUE(row.window(*this)->isVisible());
    }
  }
}

}  // namespace
}  // namespace quill
