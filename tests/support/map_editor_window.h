#pragma once

#include <QLineEdit>
#include <QTest>

#include "app/map_canvas.h"
#include "app/map_editor.h"
#include "core/maps/number_text.h"
#include "support/running_program.h"

namespace quill::testing {

// The running program with the fern in the grid and the map editor open, as a user meets it.
class MapEditorWindow : public RunningProgram {
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

}  // namespace quill::testing
