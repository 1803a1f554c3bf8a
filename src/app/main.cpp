#include <QApplication>

#include "app/program.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(quill::kAppTitle);
  quill::Program program;
  program.Main();
  return QApplication::exec();
}
