#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QString>

#include "app/control_panel.h"
#include "app/program.h"
#include "core/document/document.h"
#include "support/fakes.h"

namespace quill::testing {

// The whole program as a user meets it, with scripted dialogs and a fake printer and its pattern
// files from the source tree: the base of the window tests.
class RunningProgram : public ::testing::Test {
 protected:
  // Starts the program and picks `pattern` from its menu.
  void startWith(int pattern) {
    program.start();
    program.document->presetDirectory = QStringLiteral(QUILLMERE_PRESET_DIR);
    pick(pattern);
  }
  void TearDown() override { program.controlPanel->close(); }

  // A menu command, by its action's name.
  void trigger(const QString& action) {
    program.controlPanel->findChild<QAction*>(action)->trigger();
  }
  void pick(int pattern) { trigger(QStringLiteral("patternAction_%1").arg(pattern)); }
  QString cell(int row, int column) const { return program.document->state.cell(row, column); }

  ScriptedDialogs dialogs;
  FakePrinter printer;
  Program program{dialogs, printer};
};

}  // namespace quill::testing
