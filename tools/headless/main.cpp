// quillmere-render: draws a pattern or a parameter file without a window and writes the picture.

#include <fcntl.h>
#include <unistd.h>

#include <QGuiApplication>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <new>

#include "headless/headless_run.h"
#include "headless/option_table.h"
#include "headless/render_options.h"

namespace {

std::atomic<bool> gInterrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

extern "C" void onInterrupt(int /*signal*/) { gInterrupted.store(true); }

// Standard error carries the program's own messages; Qt's notes about the environment (a missing
// runtime folder, say) would only muddle them.
void quietQtNotes(QtMsgType type, const QMessageLogContext& /*context*/, const QString& text) {
  if (type == QtCriticalMsg || type == QtFatalMsg) {
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
  }
}

// A standard stream the caller closed (">&-") is held by /dev/null opened for reading: no file
// this run opens takes its number, and writes to it fail as they should.
void holdClosedStandardStreams() {
  for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    const int held = ::open("/dev/null", O_RDONLY);
    if (held >= 0 && held != fd) {
      ::dup2(held, fd);
      ::close(held);
    }
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  using namespace quill::headless;
  holdClosedStandardStreams();
  // A reader that goes away (`| head`) makes the write fail with EPIPE, reported as a failed
  // write, rather than end the run by a signal.
  std::signal(SIGPIPE, SIG_IGN);
  // No window is ever shown; text still needs a platform for its fonts.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(quietQtNotes);
  QGuiApplication application(argc, argv);

  const ParsedArguments parsed = parseArguments(QCoreApplication::arguments());
  if (parsed.help || parsed.version) {
    std::fputs((parsed.help ? helpText() : versionText()).toLocal8Bit().constData(), stdout);
    return finishOutput(stdout, stderr, kExitDrawn);
  }
  if (!parsed.options) {
    std::fprintf(stderr, "quillmere-render: %s (see --help)\n",
                 parsed.error.toLocal8Bit().constData());
    return kExitUsage;
  }

  struct sigaction action = {};
  action.sa_handler = onInterrupt;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);

  int status = kExitRefused;
  try {
    status =
        runHeadless(*parsed.options, stdout, stderr, &gInterrupted, isatty(STDERR_FILENO) == 1);
  } catch (const std::bad_alloc&) {
    // The drawing catches its own; this is for what memory the rest of the run needs.
    std::fprintf(stderr, "%s\n", quill::kNoMemoryMessage.toLocal8Bit().constData());
  }
  return finishOutput(stdout, stderr, status);
}
