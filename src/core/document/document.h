#pragma once

#include <QString>
#include <QUndoStack>
#include <array>
#include <vector>

#include "core/base/chaos_random.h"
#include "core/base/color.h"
#include "core/base/save_file.h"
#include "core/document/canvas_window.h"
#include "core/document/dialogs.h"
#include "core/document/draw_runner.h"
#include "core/document/printer.h"
#include "core/maps/drawing_state.h"
#include "core/maps/panel_state.h"

namespace quill {

// One pattern's maps as its preset file gave them: row r holds the texts for panel row r + 1.
using PresetRows = std::vector<std::array<QString, kColumnCount>>;

// One running program without its windows: the shared drawing state, the panel's fields and
// form-level values, the generator of the chaos game, the preset cache, and the ports through
// which the commands reach the dialogs, the printer, the canvas window, the drawing runner and
// the files. The commands (core/commands) are operations on it, loadParametersFrom(document,
// path), each with a wrapper that asks and shows, loadParameters(document): the Qt panel calls
// the wrappers, quillmere-render the operations, the tests both.
struct Document {
  Document(CanvasWindow& windowPort, Dialogs& dialogPort, Printer& printerPort)
      : canvasWindow(windowPort), dialogs(dialogPort), printer(printerPort) {
    undoStack.setUndoLimit(kMostUndoSteps);
  }
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;

  DrawingState drawing;
  PanelState state;
  ChaosRandom random;  // one sequence for the whole run: each game goes on where the last stopped
  // The panel's undo steps (PanelStep): the panel's commands, typing, and the map editor's
  // changes, undone and redone alike from the panel's "Tools" menu and from the editor.
  QUndoStack undoStack;
  static constexpr int kMostUndoSteps = 1000;

  CanvasWindow& canvasWindow;
  Dialogs& dialogs;
  Printer& printer;
  // Where drawings run: at once on the calling thread unless the program sets its own runner.
  DrawRunner* runner = &immediate;
  ImmediateRunner immediate;
  FileWriter writeFile = writeFileAtomically;

  QString presetDirectory;  // the program's own folder in production
  std::array<PresetRows, kPatternCount> presetCache;
  Rgb dialogColor = kBlack;  // the colour dialog's last colour, shared by both colour commands
  bool fitImports = true;    // "Fit into the square" when importing .ifs entries, kept for the run
};

// Start-up without windows: clears the map table, white paper, no numbered figures, the drawing
// square derived once from the canvas's outer size in twips; then the panel's load event.
void startUp(Document& document, float canvasWidthTwips, float canvasHeightTwips);

// The panel's load event: caption, seventy empty map fields, working values 0, no pattern read.
void resetPanel(Document& document);

}  // namespace quill
