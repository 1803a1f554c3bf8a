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
  return QApplication::exec();
}
