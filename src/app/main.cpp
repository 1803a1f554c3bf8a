#include <QApplication>
#include <csignal>

#include "app/program.h"

int main(int argc, char* argv[]) {
  // A FIFO whose reader goes away mid-save fails the save with EPIPE, shown as any failed save,
  // rather than end the program by a signal.
  std::signal(SIGPIPE, SIG_IGN);
  QApplication application(argc, argv);
  QApplication::setApplicationName(quill::kAppTitle);
  quill::Program program;
  program.start();
  // Files named on the command line (a file manager's "Open With") open as if dropped.
  program.controlPanel->openFiles(QApplication::arguments().mid(1));
  return QApplication::exec();
}
