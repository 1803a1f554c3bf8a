#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "support/row_name.h"

namespace quill {
namespace {

// quillmere-render in an address space of `megabytes`, as `ulimit -v` gives it.
struct LimitedRun {
  bool exitedNormally = false;
  int status = -1;
  QString errors;
};

LimitedRun renderWithin(std::int64_t megabytes, const QStringList& arguments) {
  QProcess process;
  process.setChildProcessModifier([megabytes] {
    const rlimit limit{rlim_t(megabytes) << 20, rlim_t(megabytes) << 20};
    setrlimit(RLIMIT_AS, &limit);
  });
  process.start(QStringLiteral(QUILLMERE_RENDER_BIN), arguments);
  process.waitForFinished(300000);
  return {process.exitStatus() == QProcess::NormalExit, process.exitCode(),
          QString::fromLocal8Bit(process.readAllStandardError())};
}

struct MemoryRow {
  const char* name;
  std::int64_t megabytes;
  QStringList arguments;  // besides the pattern, the size and the output
  const char* file;
  qint64 bytes;  // of the file written; 0: none is written, and the memory message is given
};

class HeadlessMemory : public ::testing::TestWithParam<MemoryRow> {};

// The largest pictures are written a row at a time within the memory that the canvas takes; where
// even that is not there, the run ends with the message and status 1, never an abort.
TEST_P(HeadlessMemory, StaysWithinTheAddressSpaceOrSaysSo) {
#ifdef QUILLMERE_SANITIZED
  GTEST_SKIP() << "the sanitizers reserve more address space than any limit leaves";
#endif
  const MemoryRow& row = GetParam();
  QTemporaryDir dir;
  const QString path = dir.filePath(QString::fromLatin1(row.file));
  const LimitedRun run = renderWithin(
      row.megabytes,
      QStringList{"--pattern", "Fern", "--size", "16384x16384", "--output", path} + row.arguments);
  ASSERT_TRUE(run.exitedNormally) << run.errors.toStdString();
  if (row.bytes > 0) {
    EXPECT_EQ(run.status, 0) << run.errors.toStdString();
    EXPECT_EQ(QFile(path).size(), row.bytes);
  } else {
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.errors, "Not enough memory to draw this picture.\n");
    EXPECT_FALSE(QFile::exists(path));
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, HeadlessMemory,
                         ::testing::Values(
                             // 54 bytes of header, then 16384 rows of 16384 × 3 bytes.
                             MemoryRow{"bmp_of_the_canvas_in_2300_megabytes",
                                       2300,
                                       {"--mode", "blueprint"},
                                       "poster.bmp",
                                       54 + qint64(16384) * 16384 * 3},
                             MemoryRow{"canvas_without_room",
                                       900,
                                       {"--mode", "chaos", "--iterations", "1000"},
                                       "poster.png",
                                       0},
                             MemoryRow{
                                 "density_without_room",
                                 900,
                                 {"--mode", "chaos", "--iterations", "1000", "--shade", "density"},
                                 "poster.jpg",
                                 0}),
                         testing::RowName());

}  // namespace
}  // namespace quill
