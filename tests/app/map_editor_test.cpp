#include "app/map_editor.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWheelEvent>
#include <chrono>
#include <thread>
#include <vector>

#include "app/map_canvas.h"
#include "app/preview_thread.h"
#include "app/program.h"
#include "core/maps/number_text.h"
#include "core/maths/attractor_box.h"
#include "support/running_program.h"
#include "support/wait.h"

namespace quill {
namespace {

using testing::waitUntil;

// The running program with the fern in the grid and the map editor open, as a user meets it.
class MapEditorWindow : public testing::RunningProgram {
 protected:
  void SetUp() override {
    startWith(kFernPattern);
    trigger(QStringLiteral("mapEditorAction"));
    editor = program.controlPanel->mapEditor();
    ASSERT_NE(editor, nullptr);
    canvas = editor->canvas();
    editor->resize(600, 640);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(editor));
  }
  QString shown(int row, int column) const {
    return program.controlPanel->findChild<QLineEdit*>(ControlPanel::cellName(row, column))->text();
  }
  PlaneMap mapOfRow(int row) const {
    auto v = [&](int column) { return *parseNumber(cell(row, column)); };
    return {v(kColA), v(kColB), v(kColC), v(kColD), v(kColE), v(kColF)};
  }
  // The grid's texts of a row a to f for `map`, as the editor writes them.
  static QStringList textsOf(const PlaneMap& map) {
    return {numberToText(map.a), numberToText(map.b), numberToText(map.c),
            numberToText(map.d), numberToText(map.e), numberToText(map.f)};
  }
  QStringList rowTexts(int row) const {
    QStringList texts;
    for (int column = kColA; column <= kColF; ++column) texts << cell(row, column);
    return texts;
  }
  QPoint at(QPointF unit) const { return canvas->toWidget(unit).toPoint(); }
  void drag(QPoint from, QPoint to) {
    QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(canvas, (from + to) / 2);
    QTest::mouseMove(canvas, to);
    QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, to);
  }

  MapEditor* editor = nullptr;
  MapCanvas* canvas = nullptr;
};

// Each handle of the stem-free fern map 2 dragged by the same pixels: the corner held follows
// the pointer while the other two stay, the inside carries all three along; p and the other rows
// keep their texts, and the grid shows the new texts at once.
TEST_F(MapEditorWindow, DraggingAHandleMovesWhatItHoldsUnderThePointer) {
  // P0, P1 and P2: where the map takes (0, 0), (1, 0) and (0, 1).
  auto corners = [](const PlaneMap& m) {
    return std::array<QPointF, 3>{QPointF(m.e, m.f), QPointF(m.a + m.e, m.c + m.f),
                                  QPointF(m.b + m.e, m.d + m.f)};
  };
  for (Handle handle : {Handle::P0, Handle::P1, Handle::P2, Handle::Body}) {
    SCOPED_TRACE(int(handle));
    const std::array<QPointF, 3> before = corners(mapOfRow(2));
    const QStringList otherRows = rowTexts(1) + rowTexts(3) + rowTexts(4);
    const QString p = cell(2, kColP);
    const PlaneMap m = mapOfRow(2);
    const QPoint from = handle == Handle::Body
                            ? at(QPointF(m.a * 0.3 + m.b * 0.6 + m.e, m.c * 0.3 + m.d * 0.6 + m.f))
                            : at(before[std::size_t(handle) - std::size_t(Handle::P0)]);
    const QPoint to = from + QPoint(17, -9);
    drag(from, to);
    const QPointF way = canvas->toUnit(to) - canvas->toUnit(from);
    const std::array<QPointF, 3> after = corners(mapOfRow(2));
    for (std::size_t k = 0; k < 3; ++k) {
      const bool held = handle == Handle::Body || std::size_t(handle) - 1 == k;
      const QPointF expected = before[k] + (held ? way : QPointF());
      EXPECT_NEAR(after[k].x(), expected.x(), 1e-12) << "corner " << k;
      EXPECT_NEAR(after[k].y(), expected.y(), 1e-12) << "corner " << k;
    }
    EXPECT_EQ(cell(2, kColP), p);
    EXPECT_EQ(rowTexts(1) + rowTexts(3) + rowTexts(4), otherRows);
    EXPECT_EQ(shown(2, kColE), cell(2, kColE));
  }
}

TEST_F(MapEditorWindow, TheKeyboardSelectsAMapAndMovesItsHandles) {
  const PlaneMap fern1 = mapOfRow(1);
  QTest::keyClick(canvas, Qt::Key_1);
  QTest::keyClick(canvas, Qt::Key_Right);  // the body: e
  EXPECT_EQ(cell(1, kColE), numberToText(fern1.e + 0.01));
  QTest::keyClick(canvas, Qt::Key_Tab);
  QTest::keyClick(canvas, Qt::Key_Tab);  // P1
  QTest::keyClick(canvas, Qt::Key_Up);   // c
  EXPECT_EQ(cell(1, kColC), numberToText(fern1.c + 0.01));
  QTest::keyClick(canvas, Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(cell(1, kColC), numberToText(*parseNumber(numberToText(fern1.c + 0.01)) - 0.1));
  QTest::keyClick(canvas, Qt::Key_Backtab);  // P0: e and f, with a, b, c, d keeping P1 and P2
  QTest::keyClick(canvas, Qt::Key_Left, Qt::AltModifier);
  EXPECT_EQ(cell(1, kColE), numberToText(*parseNumber(numberToText(fern1.e + 0.01)) - 0.001));
  EXPECT_EQ(cell(1, kColA), numberToText(fern1.a + 0.001));
  EXPECT_EQ(shown(1, kColA), cell(1, kColA));
}

TEST_F(MapEditorWindow, TypingARowMovesTheEditorAndABadRowKeepsItsShape) {
  auto* e3 = program.controlPanel->findChild<QLineEdit*>(ControlPanel::cellName(3, kColE));
  e3->selectAll();
  QTest::keyClicks(e3, QStringLiteral("0.25"));
  ASSERT_TRUE(program.controlPanel->editorModel().shape(2));
  EXPECT_EQ(program.controlPanel->editorModel().shape(2)->e, 0.25);

  e3->selectAll();
  QTest::keyClicks(e3, QStringLiteral("0.3x"));
  EXPECT_EQ(program.controlPanel->editorModel().shape(2)->e, 0.3);  // "0.3" read before the x came
  auto* status = editor->findChild<QLabel*>(QStringLiteral("mapEditorStatus"));
  EXPECT_EQ(status->text(), QStringLiteral("Row 3: Invalid parameter value."));
  EXPECT_TRUE(dialogs.messages.isEmpty());

  // A map that stretches: the preview goes on, and the status line names the map.
  e3->selectAll();
  QTest::keyClicks(e3, QStringLiteral("0.3"));
  auto* a1 = program.controlPanel->findChild<QLineEdit*>(ControlPanel::cellName(1, kColA));
  a1->selectAll();
  QTest::keyClicks(a1, QStringLiteral("1.5"));
  EXPECT_EQ(status->text(), QStringLiteral("Map 1 expands: it stretches by 1.5."));
  a1->selectAll();
  QTest::keyClicks(a1, QStringLiteral("1e308"));  // its stretch times 1000 would pass the doubles
  EXPECT_EQ(status->text(), QStringLiteral("Map 1 expands: it stretches by 1E+308."));
  EXPECT_TRUE(waitUntil([this] { return canvas->previewPoints() > 0; }));
}

TEST_F(MapEditorWindow, InsertAddsAHalfCopyAfterTheLastAndDeleteMovesRowsUp) {
  QTest::keyClick(canvas, Qt::Key_2);
  const PlaneMap fern2 = mapOfRow(2);
  QTest::keyClick(canvas, Qt::Key_Insert);
  const QPointF centre = handlePoint(fern2, Handle::Body);
  EXPECT_EQ(rowTexts(5), textsOf({fern2.a / 2, fern2.b / 2, fern2.c / 2, fern2.d / 2,
                                  fern2.e / 2 + centre.x() / 2, fern2.f / 2 + centre.y() / 2}));
  EXPECT_EQ(cell(5, kColP), cell(2, kColP));

  const QStringList row3 = rowTexts(3) << cell(3, kColP);
  QTest::keyClick(canvas, Qt::Key_2);
  editor->findChild<QPushButton*>(QStringLiteral("deleteMap"))->click();
  EXPECT_EQ(rowTexts(2) << cell(2, kColP), row3);
  EXPECT_TRUE(cell(5, kColA).isEmpty());
  EXPECT_EQ(program.controlPanel->editorModel().mapCount(), 4);
}

// Typing, drags, key presses, a pattern and "Fit Maps to Square" are one step each; a hundred
// undos and redos give back the very same texts, caption and pattern.
TEST_F(MapEditorWindow, UndoAndRedoGiveBackTheSameTextsAfterAHundredCycles) {
  auto now = [this] { return PanelSnapshot::of(program.document->state); };
  std::vector<PanelSnapshot> states{now()};
  auto* e1 = program.controlPanel->findChild<QLineEdit*>(ControlPanel::cellName(1, kColE));
  e1->selectAll();
  QTest::keyClicks(e1, QStringLiteral("0.5"));
  states.push_back(now());
  drag(at(handlePoint(mapOfRow(2), Handle::P1)),
       at(handlePoint(mapOfRow(2), Handle::P1)) + QPoint(23, 11));
  states.push_back(now());
  QTest::keyClick(canvas, Qt::Key_3);
  QTest::keyClick(canvas, Qt::Key_Up);
  states.push_back(now());
  pick(kSierpinskiPattern);
  states.push_back(now());
  trigger(QStringLiteral("fitMapsAction"));
  states.push_back(now());
  ASSERT_NE(states.back(), states[states.size() - 2]);

  for (int cycle = 0; cycle < 100; ++cycle) {
    for (int step = int(states.size()) - 2; step >= 0; --step) {
      QTest::keyClick(canvas, Qt::Key_Z, Qt::ControlModifier);
      ASSERT_EQ(now(), states[std::size_t(step)]) << cycle << " " << step;
    }
    for (std::size_t step = 1; step < states.size(); ++step) {
      QTest::keyClick(canvas, step % 2 ? Qt::Key_Y : Qt::Key_Z,
                      step % 2 ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier);
      ASSERT_EQ(now(), states[step]) << cycle << " " << step;
    }
  }
  EXPECT_EQ(shown(1, kColA), cell(1, kColA));
  EXPECT_EQ(program.controlPanel->windowTitle(), QStringLiteral("Sierpinski"));
}

TEST_F(MapEditorWindow, WheelZoomsAboutThePointerDraggingEmptySpacePansFitFramesTheAttractor) {
  const QPoint pointer(100, 120);
  const QPointF under = canvas->toUnit(pointer);
  const double scale = canvas->pixelsPerUnit();
  QWheelEvent wheel(pointer, canvas->mapToGlobal(pointer), QPoint(), QPoint(0, 240), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(canvas, &wheel);
  EXPECT_DOUBLE_EQ(canvas->pixelsPerUnit(), scale * 1.25 * 1.25);
  EXPECT_NEAR(canvas->toUnit(pointer).x(), under.x(), 1e-12);
  EXPECT_NEAR(canvas->toUnit(pointer).y(), under.y(), 1e-12);

  const QPoint empty(3, 3);  // far from every map after the zoom
  const QPointF before = canvas->toUnit(QPoint(300, 300));
  drag(empty, empty + QPoint(40, 25));
  EXPECT_NEAR(canvas->toWidget(before).x(), 340, 1e-9);
  EXPECT_NEAR(canvas->toWidget(before).y(), 325, 1e-9);

  QTest::keyClick(canvas, Qt::Key_F);
  std::vector<PlaneMap> maps;
  for (const WeightedMap& each : program.controlPanel->editorModel().previewMaps())
    maps.push_back(each.map);
  const Box box = *attractorBox(maps);
  const QPointF low = canvas->toWidget(QPointF(box.xmin, box.ymin));
  const QPointF high = canvas->toWidget(QPointF(box.xmax, box.ymax));
  EXPECT_GE(low.x(), 0);
  EXPECT_LE(high.x(), canvas->width());
  EXPECT_GE(high.y(), 0);
  EXPECT_LE(low.y(), canvas->height());
  EXPECT_NEAR(
      std::max((high.x() - low.x()) / canvas->width(), (low.y() - high.y()) / canvas->height()),
      0.8, 1e-9);
  QTest::keyClick(canvas, Qt::Key_Home);
  EXPECT_NEAR(canvas->toWidget(QPointF(0.5, 0.5)).x(), canvas->width() / 2.0, 1e-9);
}

// A window kept busy (here asleep, as under a backlog of keys) while the preview draws on gets
// one frame when it wakes, the newest: the frames drawn meanwhile do not pile up, megabytes each.
TEST_F(MapEditorWindow, APreviewHeldUpByABusyWindowSendsOnlyItsNewestFrame) {
  PreviewThread preview;
  std::vector<quint64> shown;
  QObject::connect(&preview, &PreviewThread::rendered,
                   [&shown](const QImage&, quint64 points) { shown.push_back(points); });
  const std::vector<WeightedMap> sierpinski = {
      {{0.5, 0, 0, 0.5, 0, 0}, 1}, {{0.5, 0, 0, 0.5, 0.5, 0}, 1}, {{0.5, 0, 0, 0.5, 0.25, 0.5}, 1}};
  preview.render(sierpinski, PreviewFrame{-0.1, 1.1, 1.2 / 200, 200, 200});
  std::this_thread::sleep_for(std::chrono::seconds(1));  // the first frames are drawn meanwhile
  QCoreApplication::sendPostedEvents();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_GT(shown[0], PreviewThread::kFirstFramePoints);
}

}  // namespace
}  // namespace quill
