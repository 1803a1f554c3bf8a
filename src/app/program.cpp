#include "app/program.h"

#include <QCoreApplication>

#include "app/picture_dialog.h"

namespace quill {

Program::Program() : dialogs(qtDialogs), printer(qtPrinter) {}

Program::Program(Dialogs& scriptedDialogs, Printer& scriptedPrinter)
    : dialogs(scriptedDialogs), printer(scriptedPrinter) {}

void Program::Main() {
  // The canvas window is created hidden; its load sizes it to the screen, and the drawing square
  // is derived from that size once.
  form1 = std::make_unique<Form1>(dialogs);
  document = std::make_unique<Document>(*form1, dialogs, printer);
  form1->Form_Load(document->module1);
  startUp(*document, form1->widthTwips(), form1->heightTwips());
  document->presetDirectory = QCoreApplication::applicationDirPath();

  form2 = std::make_unique<Form2>(*document);
  qtDialogs.setParent(form2.get());
  drawRunner = std::make_unique<QtDrawRunner>(form2.get());
  document->runner = drawRunner.get();
  QObject::connect(drawRunner.get(), &QtDrawRunner::busyChanged, form2.get(), &Form2::setBusy);
  QObject::connect(drawRunner.get(), &QtDrawRunner::busyChanged, form1.get(), &Form1::setDrawing);
  QObject::connect(drawRunner.get(), &QtDrawRunner::growing, form1.get(),
                   &Form1::showGrowingPicture);
  QObject::connect(form2.get(), &Form2::exitRequested, form2.get(), [this] { exit(); });
  QObject::connect(form1.get(), &Form1::showPanelRequested, form2.get(), [this] { showPanel(); });
  form2->Form_Load();
  form2->show();
}

void Program::exit() {
  if (drawRunner) drawRunner->cancel();
  // A picture being rendered stops; its file is left as it was.
  if (form2 && form2->pictureDialog()) form2->pictureDialog()->close();
  if (form1) form1->hide();
  QCoreApplication::exit(0);
}

void Program::showPanel() {
  form2->setWindowState((form2->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  form2->show();
  form2->raise();
  form2->activateWindow();
}

}  // namespace quill
