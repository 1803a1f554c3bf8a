#pragma once

#include <memory>

#include "app/canvas_widget.h"
#include "app/control_panel.h"
#include "app/qt_dialogs.h"
#include "app/qt_draw_runner.h"
#include "app/qt_printer.h"
#include "app/remembered.h"
#include "core/document/document.h"

namespace quill {

// The running desktop program: the document, the two windows and the devices, alive from start
// until the end.
class Program {
 public:
  // The real dialogs and the default printer.
  Program();
  // Scripted devices, for tests that must never wait on a modal dialog.
  Program(Dialogs& dialogs, Printer& printer);

  // Start-up: clears the map table, sets the shared state, creates the canvas window hidden and
  // sized to the screen, derives the drawing square from its size once, and shows the panel.
  void start();

  // Ends the program, from "Exit" or the panel's close box: a drawing still running is cancelled
  // and the canvas closes with the panel.
  void exit();

  // Brings the panel back in front of the full-screen canvas.
  void showPanel();

  QtDialogs qtDialogs;
  QtPrinter qtPrinter;
  Dialogs& dialogs;
  Printer& printer;
  std::unique_ptr<CanvasWidget> canvasWidget;
  std::unique_ptr<Document> document;
  std::unique_ptr<ControlPanel> controlPanel;
  // The settings kept between runs: the user's own file for the real program; none (an empty
  // path) for scripted runs unless a test names one.
  QString settingsPath;
  std::unique_ptr<Remembered> remembered;
  // Last, so that it is destroyed first: a drawing still running is cancelled and joined before
  // the document its finish step would write to goes away.
  std::unique_ptr<QtDrawRunner> drawRunner;

 private:
  // Ctrl+E, Ctrl+M and Ctrl+R on the canvas open the map editor, the report and the picture
  // dialog as the panel's Tools menu does.
  void addToolActions();
};

}  // namespace quill
