#include "app/program.h"

#include <QCoreApplication>

#include "app/picture_dialog.h"

namespace quill {

Program::Program()
    : dialogs(qtDialogs), printer(qtPrinter), settingsPath(Remembered::defaultPath()) {}

Program::Program(Dialogs& scriptedDialogs, Printer& scriptedPrinter)
    : dialogs(scriptedDialogs), printer(scriptedPrinter) {}

void Program::start() {
  // The canvas window is created hidden; its load sizes it to the screen, and the drawing square
  // is derived from that size once.
  canvasWidget = std::make_unique<CanvasWidget>(dialogs);
  document = std::make_unique<Document>(*canvasWidget, dialogs, printer);
  canvasWidget->resetCanvas(document->drawing);
  startUp(*document, canvasWidget->widthTwips(), canvasWidget->heightTwips());
  document->presetDirectory = QCoreApplication::applicationDirPath();

  controlPanel = std::make_unique<ControlPanel>(*document);
  qtDialogs.setParent(controlPanel.get());
  drawRunner = std::make_unique<QtDrawRunner>(controlPanel.get());
  document->runner = drawRunner.get();
  QObject::connect(drawRunner.get(), &QtDrawRunner::busyChanged, controlPanel.get(),
                   &ControlPanel::setBusy);
  QObject::connect(drawRunner.get(), &QtDrawRunner::busyChanged, canvasWidget.get(),
                   &CanvasWidget::setDrawing);
  QObject::connect(drawRunner.get(), &QtDrawRunner::growing, canvasWidget.get(),
                   &CanvasWidget::showGrowingPicture);
  QObject::connect(controlPanel.get(), &ControlPanel::exitRequested, controlPanel.get(),
                   [this] { exit(); });
  QObject::connect(canvasWidget.get(), &CanvasWidget::showPanelRequested, controlPanel.get(),
                   [this] { showPanel(); });
  controlPanel->resetPanel();
  controlPanel->show();
  canvasWidget->pictureSaved = [this](const QString& path) { noteFileUsed(*document, path); };
  if (!settingsPath.isEmpty()) {
    remembered = std::make_unique<Remembered>(settingsPath);
    remembered->restore(*controlPanel, &qtDialogs, *document);
  }
}

void Program::exit() {
  if (remembered && controlPanel) remembered->save(*controlPanel, &qtDialogs, *document);
  if (drawRunner) drawRunner->cancel();
  // A picture being rendered stops; its file is left as it was.
  if (controlPanel && controlPanel->pictureDialog()) controlPanel->pictureDialog()->close();
  if (canvasWidget) canvasWidget->hide();
  QCoreApplication::exit(0);
}

void Program::showPanel() {
  controlPanel->setWindowState((controlPanel->windowState() & ~Qt::WindowMinimized) |
                               Qt::WindowActive);
  controlPanel->show();
  controlPanel->raise();
  controlPanel->activateWindow();
}

}  // namespace quill
