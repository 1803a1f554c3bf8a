#include "app/program.h"

#include <QAction>
#include <QCoreApplication>
#include <cstdio>

#include "app/picture_dialog.h"
#include "core/maps/preset_folder.h"

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
  // The panel's pattern menus keep their own message for a missing file; the terminal hears
  // why, once, at start-up.
  const PresetFolder presets = findPresetFolder(QCoreApplication::applicationDirPath());
  document->presetDirectory = presets.path;
  if (!presets.problem.isEmpty()) {
    std::fprintf(stderr, "quillmere: %s\n", presets.problem.toLocal8Bit().constData());
  }

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
  // A drawing's canvas covers the screen: the tool windows stay in front of it, and open from it.
  QObject::connect(canvasWidget.get(), &CanvasWidget::broughtToFront, controlPanel.get(),
                   &ControlPanel::raiseToolWindows);
  addToolActions();
  controlPanel->resetPanel();
  controlPanel->show();
  canvasWidget->pictureSaved = [this](const QString& path) { noteFileUsed(*document, path); };
  if (!settingsPath.isEmpty()) {
    remembered = std::make_unique<Remembered>(settingsPath);
    remembered->restore(*controlPanel, &qtDialogs, *document);
  }
}

void Program::addToolActions() {
  const struct {
    const char* name;
    const char* caption;
    QKeyCombination key;
    void (ControlPanel::*open)();
  } tools[] = {
      {"canvasMapEditor", QT_TRANSLATE_NOOP("quill::ControlPanel", "Map Editor..."),
       Qt::CTRL | Qt::Key_E, &ControlPanel::openMapEditor},
      {"canvasMathsReport", QT_TRANSLATE_NOOP("quill::ControlPanel", "Maths Report"),
       Qt::CTRL | Qt::Key_M, &ControlPanel::openMathsReport},
      {"canvasRenderPicture", QT_TRANSLATE_NOOP("quill::ControlPanel", "Render Picture..."),
       Qt::CTRL | Qt::Key_R, &ControlPanel::openPictureDialog},
  };
  for (const auto& tool : tools) {
    auto* action = new QAction(ControlPanel::tr(tool.caption), canvasWidget.get());
    action->setObjectName(QString::fromLatin1(tool.name));
    action->setShortcut(QKeySequence(tool.key));
    action->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(action, &QAction::triggered, controlPanel.get(), tool.open);
    canvasWidget->addAction(action);  // in its right-click menu too
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
