#include <QApplication>
#include <QIcon>
#include <csignal>
#include <cstdio>

#include "app/command_line.h"
#include "app/program.h"
#include "app/translations.h"
#include "core/base/version.h"

namespace {

const QString kDesktopId = QStringLiteral("io.github.quillmere.Quillmere");

// --help and --version answer on standard output and end the run; a usage error ends it with
// status 2. Returns -1 when the program is to start.
int answerCommandLine(const quill::CommandLine& line) {
  if (line.help || line.version) {
    const QString text = line.help ? quill::programHelpText() : quill::programVersionText();
    std::fputs(text.toLocal8Bit().constData(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  if (!line.error.isEmpty()) {
    std::fprintf(stderr, "quillmere: %s (see --help)\n", line.error.toLocal8Bit().constData());
    return 2;
  }
  return -1;
}

}  // namespace

int main(int argc, char* argv[]) {
  // A FIFO whose reader goes away mid-save fails the save with EPIPE, shown as any failed save,
  // rather than end the program by a signal.
  std::signal(SIGPIPE, SIG_IGN);
  // --help and --version need no display: answer them before the window system is opened.
  QStringList raw;
  for (int i = 0; i < argc; ++i) raw << QString::fromLocal8Bit(argv[i]);
  if (const quill::CommandLine early = quill::readCommandLine(raw); early.help || early.version) {
    return answerCommandLine(early);
  }
  QApplication application(argc, argv);
  QApplication::setApplicationName(quill::kAppTitle);
  QApplication::setApplicationVersion(quill::programVersion());
  // Before any window is made, so every caption is read in the user's language.
  quill::installTranslations(application, QLocale::system(),
                             QCoreApplication::applicationDirPath());
  // The desktop file's name and the icon an install puts in the hicolor theme, so the window
  // shows the same icon as the menu entry that started it.
  QGuiApplication::setDesktopFileName(kDesktopId);
  QApplication::setWindowIcon(QIcon::fromTheme(kDesktopId));
  const quill::CommandLine line = quill::readCommandLine(QCoreApplication::arguments());
  if (const int status = answerCommandLine(line); status >= 0) return status;
  quill::Program program;
  program.start();
  // Files named on the command line (a file manager's "Open With") open as if dropped.
  program.controlPanel->openFiles(line.files);
  return QApplication::exec();
}
