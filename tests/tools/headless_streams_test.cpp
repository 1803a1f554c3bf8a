#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <cctype>
#include <csignal>
#include <functional>

#include "support/fifo_reader.h"

namespace quill {
namespace {

struct ToolRun {
  int status = -1;
  QString errors;
  QByteArray output;
};

ToolRun finish(QProcess& process) {
  process.waitForFinished(120000);
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          QString::fromLocal8Bit(process.readAllStandardError()), process.readAllStandardOutput()};
}

ToolRun render(const QStringList& arguments, const std::function<void()>& childSetUp = {}) {
  QProcess process;
  if (childSetUp) process.setChildProcessModifier(childSetUp);
  process.start(QStringLiteral(QUILLMERE_RENDER_BIN), arguments);
  return finish(process);
}

QByteArray contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool isFifo(const QString& path) {
  struct stat status = {};
  return ::lstat(QFile::encodeName(path).constData(), &status) == 0 && S_ISFIFO(status.st_mode);
}

const QStringList kKochBluePrint = {"--pattern", "Koch", "--mode", "blueprint", "--size", "64x48"};

enum class Fault { FullDisk, Closed, BrokenPipe };

struct WriterCase {
  const char* name;
  QStringList arguments;
};

struct FaultCase {
  const char* name;
  Fault fault;
};

void PrintTo(const WriterCase& c, std::ostream* out) { *out << c.name; }
void PrintTo(const FaultCase& c, std::ostream* out) { *out << c.name; }

struct WriterAndFaultName {
  std::string operator()(
      const ::testing::TestParamInfo<std::tuple<WriterCase, FaultCase>>& info) const {
    std::string name =
        std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
    for (char& ch : name) ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
    return name;
  }
};

class StandardOutput : public ::testing::TestWithParam<std::tuple<WriterCase, FaultCase>> {};

// Whatever goes to standard output, a write or a final flush that fails ends the run with status
// 1 and one line saying so, never 0; a reader that has gone ends it the same way, not by SIGPIPE.
TEST_P(StandardOutput, AFailedWriteIsRefusedWithStatusOne) {
  const auto& [writer, fault] = GetParam();
  int pipeEnds[2] = {-1, -1};
  if (fault.fault == Fault::BrokenPipe) {
    ASSERT_EQ(::pipe(pipeEnds), 0);
    ::close(pipeEnds[0]);
  }
  const int brokenPipe = pipeEnds[1];
  const ToolRun run = render(writer.arguments, [fault = fault.fault, brokenPipe] {
    if (fault == Fault::FullDisk) {
      const int full = ::open("/dev/full", O_WRONLY);
      ::dup2(full, STDOUT_FILENO);
    } else if (fault == Fault::Closed) {
      ::close(STDOUT_FILENO);
    } else {
      ::dup2(brokenPipe, STDOUT_FILENO);
    }
  });
  if (brokenPipe >= 0) ::close(brokenPipe);
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.errors.startsWith(u"Cannot ")) << run.errors.toStdString();
  EXPECT_EQ(run.errors.count(u'\n'), 1) << run.errors.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Headless, StandardOutput,
    ::testing::Combine(
        ::testing::Values(
            WriterCase{"report", {"--pattern", "Koch", "--report", "-", "--report-points", "1000"}},
            WriterCase{"entries",
                       {"--ifs", QUILLMERE_TEST_DATA "/ifs/gallery.ifs", "--list-entries"}},
            WriterCase{"canvas picture", kKochBluePrint + QStringList{"--output", "-"}},
            WriterCase{"rendered picture",
                       kKochBluePrint + QStringList{"--output", "-", "--format", "svg"}},
            WriterCase{"ifs entry", {"--pattern", "Koch", "--save-ifs", "-"}},
            WriterCase{"help", {"--help"}}),
        ::testing::Values(FaultCase{"full disk", Fault::FullDisk},
                          FaultCase{"closed", Fault::Closed},
                          FaultCase{"broken pipe", Fault::BrokenPipe})),
    WriterAndFaultName());

// "-" writes to standard output what the same run writes to a file, in the type --format names
// (PNG unless told); a named file's type is its extension.
TEST(HeadlessStandardOutput, CarriesTheFileThatANameWouldGet) {
  QTemporaryDir dir;
  const struct {
    const char* format;  // nullptr: none given
    const char* extension;
    QStringList arguments;
  } cases[] = {
      {nullptr, "png", kKochBluePrint},
      {"bmp", "bmp", kKochBluePrint},
      {"jpg", "jpg", kKochBluePrint},
      {"svg", "svg", kKochBluePrint},
      {"png", "png", kKochBluePrint + QStringList{"--shade", "flat", "--seed", "7"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.format != nullptr ? c.format : "no format");
    const QString path = dir.filePath(QStringLiteral("x.") + QString::fromLatin1(c.extension));
    ASSERT_EQ(render(c.arguments + QStringList{"--output", path}).status, 0);
    QStringList toStandardOutput = c.arguments + QStringList{"--output", "-"};
    if (c.format != nullptr) toStandardOutput << "--format" << c.format;
    const ToolRun run = render(toStandardOutput);
    EXPECT_EQ(run.status, 0) << run.errors.toStdString();
    EXPECT_EQ(run.output, contents(path));
    EXPECT_FALSE(QFile::exists(QStringLiteral("-")));
  }
  const QString ifs = dir.filePath(QStringLiteral("koch.ifs"));
  ASSERT_EQ(render({"--pattern", "Koch", "--save-ifs", ifs}).status, 0);
  EXPECT_EQ(render({"--pattern", "Koch", "--save-ifs", "-"}).output, contents(ifs));
}

// A FIFO gets the picture its reader waits for and stays a FIFO; a device is written into, and
// a full one is a full disk.
TEST(HeadlessSpecialFiles, AreWrittenIntoNeverReplaced) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("file.png"));
  ASSERT_EQ(render(kKochBluePrint + QStringList{"--output", file}).status, 0);
  {
    SCOPED_TRACE("FIFO with a reader");
    const QString fifo = dir.filePath(QStringLiteral("fifo.png"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    testing::FifoReader reader(fifo);
    const ToolRun run = render(kKochBluePrint + QStringList{"--output", fifo});
    EXPECT_EQ(run.status, 0) << run.errors.toStdString();
    EXPECT_EQ(reader.stop(), contents(file));
    EXPECT_TRUE(isFifo(fifo));
  }
  // Root may make device nodes of its own, which a broken writer could replace harmlessly; an
  // unprivileged user cannot replace the system's.
  for (const auto& [name, minor, status, errors] :
       {std::tuple{"null", 3u, 0, ""},
        std::tuple{"full", 7u, 1, "Cannot save the picture: disk full.\n"}}) {
    SCOPED_TRACE(name);
    QString device = dir.filePath(QString::fromLatin1(name));
    if (::mknod(QFile::encodeName(device).constData(), S_IFCHR | 0666, makedev(1, minor)) != 0) {
      if (::geteuid() == 0) continue;
      device = QStringLiteral("/dev/") + QString::fromLatin1(name);
    }
    const ToolRun run = render(kKochBluePrint + QStringList{"--output", device});
    EXPECT_EQ(run.status, status);
    EXPECT_EQ(run.errors, QString::fromLatin1(errors));
    struct stat node = {};
    EXPECT_TRUE(::lstat(QFile::encodeName(device).constData(), &node) == 0 &&
                S_ISCHR(node.st_mode));
  }
}

// Ctrl+C while a FIFO waits for its reader ends the run at once; the FIFO stays.
TEST(HeadlessInterrupt, EndsTheWaitForAFifosReader) {
  QTemporaryDir dir;
  const QString fifo = dir.filePath(QStringLiteral("fifo.png"));
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
  QProcess process;
  process.start(QStringLiteral(QUILLMERE_RENDER_BIN),
                kKochBluePrint + QStringList{"--output", fifo});
  ASSERT_TRUE(process.waitForStarted());
  QThread::msleep(700);  // drawn long ago; waiting for a reader
  ::kill(pid_t(process.processId()), SIGINT);
  ASSERT_TRUE(process.waitForFinished(10000));
  EXPECT_EQ(process.exitCode(), 130);
  EXPECT_EQ(QString::fromLocal8Bit(process.readAllStandardError()),
            "Interrupted; no picture written.\n");
  EXPECT_TRUE(isFifo(fifo));
}

// Ctrl+C the moment the file is committed (the signal injected at the system call that links or
// renames it into place) finds the picture written: status 0, and says so.
TEST(HeadlessInterrupt, AfterTheFileIsCompleteFindsItWritten) {
  const QString strace = QStandardPaths::findExecutable(QStringLiteral("strace"));
  if (strace.isEmpty()) GTEST_SKIP() << "needs strace to time the signal";
  QTemporaryDir dir;
  for (const char* extension : {"png", "svg"}) {
    SCOPED_TRACE(extension);
    const QString path = dir.filePath(QStringLiteral("new.") + QString::fromLatin1(extension));
    QProcess process;
    // LeakSanitizer cannot check a traced process and would fail its exit.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(
        QStringLiteral("ASAN_OPTIONS"),
        environment.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":detect_leaks=0"));
    process.setProcessEnvironment(environment);
    process.start(strace, QStringList{"-f", "-qq", "-o", "/dev/null", "-P", path, "-e",
                                      "inject=rename,renameat,renameat2,linkat:signal=SIGINT",
                                      QStringLiteral(QUILLMERE_RENDER_BIN)} +
                              kKochBluePrint + QStringList{"--output", path});
    const ToolRun run = finish(process);
    if (run.errors.startsWith(u"strace:")) GTEST_SKIP() << run.errors.toStdString();
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.errors, "Interrupted; the picture was already written.\n");
    EXPECT_TRUE(contents(path).endsWith(QByteArray(extension) == "png" ? "IEND\xae\x42\x60\x82"
                                                                       : "</svg>\n"));
  }
}

// As an unprivileged user, over a writable file in a folder that takes no new file: Ctrl+C while
// the SVG streams out leaves the file as it was.
TEST(HeadlessInterrupt, LeavesAFileBesideAReadOnlyFolderAsItWas) {
  const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
  if (setpriv.isEmpty() || ::geteuid() != 0) GTEST_SKIP() << "needs root and setpriv";
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("old.svg"));
  {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("the earlier picture");
  }
  const auto everyone = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
  QFile::setPermissions(
      path, everyone | QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther);
  QFile::setPermissions(
      dir.path(), everyone | QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther);
  QProcess process;
  // The fern's fractal at depth 20 writes gigabytes: still streaming when the signal comes.
  process.start(setpriv, {"--reuid=65534", "--regid=65534", "--clear-groups",
                          QStringLiteral(QUILLMERE_RENDER_BIN), "--pattern", "Fern", "--mode",
                          "fractal", "--iterations", "20", "--size", "800x800", "--output", path});
  ASSERT_TRUE(process.waitForStarted());
  QThread::msleep(700);
  ::kill(pid_t(process.processId()), SIGINT);
  const ToolRun run = finish(process);
  QFile::setPermissions(dir.path(),
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  if (run.status == 126 || run.status == 127) GTEST_SKIP() << run.errors.toStdString();
  EXPECT_EQ(run.status, 130);
  EXPECT_EQ(run.errors, "Interrupted; no picture written.\n");
  EXPECT_EQ(contents(path), "the earlier picture");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"old.svg"});
}

}  // namespace
}  // namespace quill
