// The map editor as a user shapes maps with it: what a press takes, the rotation handle, the
// values a drag writes, Ctrl's snapping, Escape, Insert, framing and the one palette.

#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>
#include <functional>

#include "app/map_numbers_panel.h"
#include "app/picture_dialog.h"
#include "core/editor/editor_framing.h"
#include "core/editor/view_rounding.h"
#include "core/picture/picture.h"
#include "support/map_editor_window.h"
#include "support/row_name.h"

namespace quill {
namespace {

using testing::MapEditorWindow;

// How many decimals a number text carries, "1E-05" and "2.5E-07" included.
int decimalsOf(const QString& text) {
  const qsizetype exponent = text.indexOf(u'E');
  const QString mantissa = exponent < 0 ? text : text.left(exponent);
  const qsizetype point = mantissa.indexOf(u'.');
  qsizetype count = point < 0 ? 0 : mantissa.size() - point - 1;
  if (exponent >= 0) count -= text.mid(exponent + 1).toInt();
  return int(std::max<qsizetype>(count, 0));
}

// The window with its helpers open to the rows of table tests.
class EditingWindow : public MapEditorWindow {
 public:
  using MapEditorWindow::dialogs;
  using MapEditorWindow::pick;
  using MapEditorWindow::program;
  using MapEditorWindow::trigger;

  // A move of the mouse with its left button held and `keys` down.
  void moveWith(QPoint to, Qt::KeyboardModifiers keys) {
    QMouseEvent move(QEvent::MouseMove, to, canvas->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     keys);
    QCoreApplication::sendEvent(canvas, &move);
  }
  void dragWith(QPoint from, QPoint to, Qt::KeyboardModifiers keys) {
    QTest::mousePress(canvas, Qt::LeftButton, keys, from);
    moveWith((from + to) / 2, keys);
    moveWith(to, keys);
    QTest::mouseRelease(canvas, Qt::LeftButton, keys, to);
  }
  void zoom(QPoint at, int notches) {
    QWheelEvent wheel(at, canvas->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(canvas, &wheel);
  }
  MapEditorModel& model() { return program.controlPanel->editorModel(); }
  QString status() const {
    return editor->findChild<QLabel*>(QStringLiteral("mapEditorStatus"))->text();
  }
  QTemporaryDir scratch;
  // Whether `unit` shows inside the drawing.
  bool inView(QPointF unit) const {
    const QPointF at = canvas->toWidget(unit);
    return at.x() >= 0 && at.x() <= canvas->width() && at.y() >= 0 && at.y() <= canvas->height();
  }
};

// Inside map 3 where the selected map 2 overlaps it: the smaller map 3 is taken and moves.
TEST_F(EditingWindow, APressInsideTwoMapsTakesTheSmaller) {
  QTest::keyClick(canvas, Qt::Key_2);
  const QStringList map2 = rowTexts(2);
  const QPoint centre3 = at(handlePoint(mapOfRow(3), Handle::Body));
  const PlaneMap before = mapOfRow(3);
  drag(centre3, centre3 + QPoint(15, 10));
  EXPECT_EQ(model().selected(), 2);
  EXPECT_EQ(rowTexts(2), map2);
  EXPECT_NE(mapOfRow(3).e, before.e);
  EXPECT_EQ(mapOfRow(3).a, before.a);
}

// Map 1's P1 lies under its P0 (a = c = 0): the second click on the spot takes P1, whose drag
// then gives the stem a bottom edge while P0 stays.
TEST_F(EditingWindow, ClicksOnOneSpotCycleToTheHiddenCorner) {
  const QPoint spot = at(handlePoint(mapOfRow(1), Handle::P0));
  QTest::mouseClick(canvas, Qt::LeftButton, Qt::NoModifier, spot);
  EXPECT_EQ(model().handle(), Handle::P0);
  QTest::mouseClick(canvas, Qt::LeftButton, Qt::NoModifier, spot);
  EXPECT_EQ(model().selected(), 0);
  EXPECT_EQ(model().handle(), Handle::P1);
  EXPECT_TRUE(status().startsWith(QStringLiteral("Map 1, corner P1 — a 0, b 0, c 0, d 0.16")));
  const QString e = cell(1, kColE);
  drag(spot, spot + QPoint(20, -10));
  EXPECT_EQ(cell(1, kColE), e);
  EXPECT_GT(mapOfRow(1).a, 0);
  EXPECT_GT(mapOfRow(1).c, 0);
}

// Map 2 turned by a little less than a quarter with Shift: exactly a quarter turn.
TEST_F(EditingWindow, ShiftTurnsTheRotationHandleByExactQuarterTurns) {
  QTest::keyClick(canvas, Qt::Key_2);
  const PlaneMap start = mapOfRow(2);
  const int steps = program.document->undoStack.count();
  const QPointF centre = handlePoint(start, Handle::Body);
  const QPointF handle = handlePoint(start, Handle::Rotate, 1 / canvas->pixelsPerUnit());
  const QPointF from = handle - centre;
  const double turn = 88 * M_PI / 180;
  const QPointF to(from.x() * std::cos(turn) - from.y() * std::sin(turn),
                   from.x() * std::sin(turn) + from.y() * std::cos(turn));
  dragWith(at(handle), at(centre + to), Qt::ShiftModifier);
  EXPECT_EQ(rowTexts(2).mid(0, 4), QStringList({"0.04", "-0.85", "0.85", "0.04"}));
  const QPointF moved = handlePoint(mapOfRow(2), Handle::Body) - centre;
  EXPECT_LE(std::hypot(moved.x(), moved.y()), 2 * dragTolerance(1 / canvas->pixelsPerUnit()));
  EXPECT_EQ(program.document->undoStack.count(), steps + 1);
  EXPECT_EQ(program.document->undoStack.undoText(), QStringLiteral("Rotate Map 2"));
}

// At the default zoom a drag writes four decimals at most; zoomed in as far as the wheel goes,
// ten at most, where the exact values would carry fifteen digits.
TEST_F(EditingWindow, ADragWritesValuesRoundedToTheView) {
  for (const int notches : {0, 40, 20, 20}) {
    SCOPED_TRACE(notches);
    zoom(at(handlePoint(mapOfRow(3), Handle::P1)), notches);
    const QStringList before = rowTexts(3);
    const QPoint from = at(handlePoint(mapOfRow(3), Handle::P1));
    drag(from, from + QPoint(7, 3));
    const QStringList after = rowTexts(3);
    ASSERT_EQ(model().handle(), Handle::P1);
    ASSERT_NE(after, before);
    const int most = notches == 0 ? 4 : 10;
    for (qsizetype i = 0; i < after.size(); ++i) {
      if (after[i] != before[i]) {
        EXPECT_LE(decimalsOf(after[i]), most) << after[i].toStdString();
      }
    }
  }
}

// Ctrl brings map 3's P0 onto map 4's P0, to the bit, and shows the target while dragging.
TEST_F(EditingWindow, CtrlSnapsACornerOntoAnotherMapsCorner) {
  const QPointF target = handlePoint(mapOfRow(4), Handle::P0);
  const QPoint from = at(handlePoint(mapOfRow(3), Handle::P0));
  QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, from);
  moveWith(at(target) + QPoint(3, -2), Qt::ControlModifier);
  ASSERT_TRUE(canvas->snapTarget());
  EXPECT_EQ(*canvas->snapTarget(), target);
  QTest::mouseRelease(canvas, Qt::LeftButton, Qt::ControlModifier, at(target) + QPoint(3, -2));
  EXPECT_EQ(cell(3, kColE), cell(4, kColE));
  EXPECT_EQ(cell(3, kColF), cell(4, kColF));
  EXPECT_FALSE(canvas->snapTarget());
}

// Escape gives the map back and leaves no step; a key for a map that is not there says so.
TEST_F(EditingWindow, EscapeCancelsADragAndAMissingMapIsNamed) {
  const auto grid = program.document->state.grid;
  const int steps = program.document->undoStack.count();
  const QPoint from = at(handlePoint(mapOfRow(3), Handle::Body));
  QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, from);
  QTest::mouseMove(canvas, from + QPoint(30, 30));
  ASSERT_NE(program.document->state.grid, grid);
  QTest::keyClick(canvas, Qt::Key_Escape);
  QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, from + QPoint(30, 30));
  EXPECT_EQ(program.document->state.grid, grid);
  EXPECT_EQ(program.document->undoStack.count(), steps);
  EXPECT_EQ(shown(3, kColE), cell(3, kColE));

  QTest::keyClick(canvas, Qt::Key_7);
  EXPECT_EQ(model().selected(), -1);
  EXPECT_TRUE(status().startsWith(QStringLiteral("There is no map 7: the grid holds 4 maps.")));
}

// Insert keeps the p column adding up to 1 and selects the copy; Delete selects the next map;
// an eleventh map is refused in the status line.
TEST_F(EditingWindow, InsertKeepsThePColumnAddingUpToOne) {
  QTest::keyClick(canvas, Qt::Key_3);
  QTest::keyClick(canvas, Qt::Key_Insert);
  EXPECT_EQ(model().mapCount(), 5);
  EXPECT_EQ(model().selected(), 4);
  qint64 thousandths = 0;
  for (int row = 1; row <= 5; ++row)
    thousandths += std::llround(*parseNumber(cell(row, kColP)) * 1000);
  EXPECT_EQ(thousandths, 1000);
  EXPECT_EQ(shown(5, kColP), cell(5, kColP));

  QTest::keyClick(canvas, Qt::Key_2);
  QTest::keyClick(canvas, Qt::Key_Delete);
  EXPECT_EQ(model().selected(), 1);
  while (model().mapCount() < kGridRows) QTest::keyClick(canvas, Qt::Key_Insert);
  QTest::keyClick(canvas, Qt::Key_Insert);
  EXPECT_EQ(model().mapCount(), kGridRows);
  EXPECT_TRUE(status().startsWith(QStringLiteral("Quillmere draws at most 10 maps.")));
}

// What brings new maps, done while the view is zoomed in elsewhere: the attractor and every
// handle of the new maps come into view, and stay there through a resize.
struct FramingRow {
  const char* name;
  std::function<void(EditingWindow&)> before;  // ahead of the zoom
  std::function<void(EditingWindow&)> command;
  bool fitHint;  // the maps lie far from the square: the status line suggests fitting them
};

void PrintTo(const FramingRow& row, std::ostream* out) { *out << row.name; }

class Framing : public EditingWindow, public ::testing::WithParamInterface<FramingRow> {};

TEST_P(Framing, NewMapsAreFramedWithEveryHandle) {
  const FramingRow& row = GetParam();
  if (row.before) row.before(*this);
  zoom(QPoint(5, 5), 12);
  row.command(*this);
  std::vector<PlaneMap> maps;
  for (const WeightedMap& each : model().previewMaps()) maps.push_back(each.map);
  const Box box = frameAllBox(maps);
  EXPECT_TRUE(inView({box.xmin, box.ymin}));
  EXPECT_TRUE(inView({box.xmax, box.ymax}));
  for (const PlaneMap& map : maps) {
    for (const QPointF& corner : parallelogram(map)) EXPECT_TRUE(inView(corner));
  }
  EXPECT_EQ(status().contains(QStringLiteral("Fit Maps to Square")), row.fitHint);
  editor->resize(500, 760);
  QCoreApplication::processEvents();
  EXPECT_TRUE(inView({box.xmax, box.ymax}));
  EXPECT_TRUE(inView({box.xmin, box.ymin}));
}

// The classic fern of the gallery, in its own coordinates (about 10 high).
void importClassicFern(EditingWindow& w) {
  w.dialogs.openIfsAnswers = {QStringLiteral(QUILLMERE_TEST_DATA "/ifs/gallery.ifs")};
  w.dialogs.entryAnswers = {{0, false}};
  w.trigger(QStringLiteral("importIfsAction"));
}

INSTANTIATE_TEST_SUITE_P(
    Commands, Framing,
    ::testing::Values(
        FramingRow{"pattern_choice", {}, [](EditingWindow& w) { w.pick(kKochPattern); }, false},
        FramingRow{"reset_pattern",
                   {},
                   [](EditingWindow& w) {
                     w.trigger(QStringLiteral("resetPatternAction_%1").arg(kTwigPattern));
                   },
                   false},
        FramingRow{"load",
                   {},
                   [](EditingWindow& w) {
                     // A gasket moved to (2, 2), away from the square.
                     const QString path = w.scratch.filePath(QStringLiteral("moved.dat"));
                     QFile file(path);
                     ASSERT_TRUE(file.open(QIODevice::WriteOnly));
                     file.write(
                         "3\n0.5,0,0,0.5,2,2,0.334\n0.5,0,0,0.5,2.5,2,0.333\n"
                         "0.5,0,0,0.5,2.25,2.5,0.333\n");
                     file.close();
                     w.dialogs.openAnswers = {path};
                     w.program.controlPanel->findChild<QPushButton*>("loadButton")->click();
                   },
                   false},
        FramingRow{"import", {}, importClassicFern, true},
        FramingRow{"fit", importClassicFern,
                   [](EditingWindow& w) { w.trigger(QStringLiteral("fitMapsAction")); }, false}),
    testing::RowName());

// The editor's map colours are the picture's "by map" colours, in the same order.
TEST_F(EditingWindow, TheEditorAndThePictureColourMapsAlike) {
  trigger(QStringLiteral("renderPictureAction"));
  PictureDialog* dialog = program.controlPanel->pictureDialog();
  const std::vector<Rgb> picture = defaultMapColours();
  for (int i = 0; i < kGridRows; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(MapCanvas::mapColour(i).rgb() & 0xFFFFFF, picture[std::size_t(i)]);
    auto* button =
        dialog->findChild<QToolButton*>(QStringLiteral("pictureMapColour_%1").arg(i + 1));
    const QImage swatch = button->icon().pixmap(16, 16).toImage();
    EXPECT_EQ(swatch.pixelColor(8, 8), MapCanvas::mapColour(i));
  }
}

// The panel of numbers: selecting writes nothing; r rewrites a and c as the user types, one step.
TEST_F(EditingWindow, TheNumbersPanelFollowsTheSelectionAndTypingIsOneStep) {
  const auto grid = program.document->state.grid;
  QTest::mouseClick(canvas, Qt::LeftButton, Qt::NoModifier,
                    at(handlePoint(mapOfRow(4), Handle::Body)));
  EXPECT_EQ(program.document->state.grid, grid);
  QLineEdit* r = editor->numbers()->field(MapNumber::R);
  EXPECT_EQ(r->text(), numberToText(std::round(std::hypot(-0.15, 0.26) * 1e6) / 1e6));
  const int steps = program.document->undoStack.count();
  r->setFocus();
  r->selectAll();
  QTest::keyClicks(r, QStringLiteral("0.5"));
  EXPECT_NEAR(std::hypot(mapOfRow(4).a, mapOfRow(4).c), 0.5, 1e-9);
  EXPECT_EQ(cell(4, kColB), QStringLiteral("0.28"));
  EXPECT_EQ(cell(4, kColD), QStringLiteral("0.24"));
  QTest::keyClick(r, Qt::Key_Return);
  EXPECT_EQ(program.document->undoStack.count(), steps + 1);
}

// Every button names its key; F1 opens the list of keys.
TEST_F(EditingWindow, ButtonsNameTheirKeysAndF1ListsThem) {
  for (QPushButton* button : editor->findChildren<QPushButton*>()) {
    if (button->window() != editor) continue;
    EXPECT_TRUE(button->toolTip().contains(u'(')) << button->objectName().toStdString();
  }
  QTest::keyClick(canvas, Qt::Key_F1);
  ASSERT_NE(editor->keysWindow(), nullptr);
  EXPECT_TRUE(editor->keysWindow()->isVisible());
  for (const char* word : {"wheel", "pans", "Home", "Insert", "Delete", "Ctrl+Z", "A frames"}) {
    EXPECT_TRUE(MapEditor::hint(4).contains(QString::fromLatin1(word))) << word;
  }
}

}  // namespace
}  // namespace quill
