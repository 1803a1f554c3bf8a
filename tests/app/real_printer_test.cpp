#include <gtest/gtest.h>

#include <QAction>
#include <QDeadlineTimer>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "app/program.h"
#include "app/qt_printer.h"
#include "support/fakes.h"

namespace quill {
namespace {

// The bounding box of the pixels darker than mid-grey.
QRect darkBox(const QImage& image) {
  QRect box;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (qGray(image.pixel(x, y)) < 128) box |= QRect(x, y, 1, 1);
    }
  }
  return box;
}

// The program with the real default printer, the Sierpinski fractal drawn on a yellow canvas.
struct PrintingProgram {
  PrintingProgram() {
    program.start();
    program.document->presetDirectory = QStringLiteral(QUILLMERE_PRESET_DIR);
    program.controlPanel->findChild<QAction*>(QStringLiteral("patternAction_0"))->trigger();
    program.document->state.countText = QStringLiteral("6");
    program.controlPanel->refreshFromState();
    program.controlPanel->findChild<QPushButton*>(QStringLiteral("fractalButton"))->click();
    QDeadlineTimer deadline(10000);
    while (program.drawRunner->busy() && !deadline.hasExpired()) QTest::qWait(10);
    dialogs.colorAnswers = {rgb(255, 255, 0)};
    program.controlPanel->findChild<QAction*>(QStringLiteral("paperColourAction"))->trigger();
  }
  ~PrintingProgram() { program.controlPanel->close(); }

  void print() {
    program.controlPanel->findChild<QPushButton*>(QStringLiteral("printButton"))->click();
  }

  testing::ScriptedDialogs dialogs;
  QtPrinter printer;
  Program program{dialogs, printer};
};

// scripts/test starts a print queue that writes PDF files, makes it the default printer and
// names the folder the files land in.
TEST(RealPrinter, PrintsTheDrawingAsOnePdfPageOnWhiteWithItsAspectKept) {
  const QString out = qEnvironmentVariable("QUILLMERE_PDF_OUT");
  if (out.isEmpty()) {
    if (qEnvironmentVariable("CI") == u"true") FAIL() << "CI runs this with a PDF print queue";
    GTEST_SKIP() << "no PDF print queue (scripts/test sets one up)";
  }
  PrintingProgram printing;
  const QString title = QStringLiteral("quillmere-test-%1").arg(QCoreApplication::applicationPid());
  printing.printer.setDocumentName(title);
  printing.print();
  EXPECT_TRUE(printing.dialogs.messages.isEmpty())
      << printing.dialogs.messages.join(' ').toStdString();

  // The queue writes the file when the job has run; its name starts with the job's title.
  QString pdf;
  QDeadlineTimer deadline(60000);
  while (pdf.isEmpty() && !deadline.hasExpired()) {
    const QStringList found = QDir(out).entryList({title + QStringLiteral("*.pdf")}, QDir::Files);
    if (!found.isEmpty()) pdf = QDir(out).filePath(found.first());
    QTest::qWait(100);
  }
  ASSERT_FALSE(pdf.isEmpty()) << "no PDF in " << out.toStdString();
  QTest::qWait(500);  // let the queue finish writing

  QProcess info;
  info.start(QStringLiteral("pdfinfo"), {pdf});
  ASSERT_TRUE(info.waitForFinished(30000));
  EXPECT_TRUE(QString::fromLocal8Bit(info.readAllStandardOutput())
                  .contains(QRegularExpression("Pages:\\s+1\\n")));

  QTemporaryDir pages;
  QProcess render;
  render.start(QStringLiteral("pdftoppm"),
               {"-r", "50", "-png", "-singlefile", pdf, pages.filePath(QStringLiteral("page"))});
  ASSERT_TRUE(render.waitForFinished(60000));
  const QImage page(pages.filePath(QStringLiteral("page.png")));
  ASSERT_FALSE(page.isNull());
  QFile::remove(pdf);

  // On white, not on the canvas's yellow; the drawing inside its dashed square, still square.
  int yellow = 0;
  for (int y = 0; y < page.height(); ++y) {
    for (int x = 0; x < page.width(); ++x) {
      const QColor c = page.pixelColor(x, y);
      yellow += c.red() > 200 && c.green() > 200 && c.blue() < 100;
    }
  }
  EXPECT_EQ(yellow, 0);
  EXPECT_EQ(page.pixelColor(2, 2), QColor(Qt::white));
  const QRect drawing = darkBox(page);
  ASSERT_TRUE(drawing.isValid());
  EXPECT_NEAR(double(drawing.width()) / drawing.height(), 1.0, 0.03);
  EXPECT_GT(drawing.width(), page.width() / 3);
}

// Run by the test command with no print server to ask (see tests/ui/CMakeLists.txt).
TEST(NoDefaultPrinter, PrintSaysTheDeviceIsUnavailable) {
  if (qEnvironmentVariable("QUILLMERE_NO_PRINTER") != u"1") GTEST_SKIP() << "run by ctest alone";
  PrintingProgram printing;
  printing.print();
  EXPECT_EQ(printing.dialogs.messages, QStringList{"Cannot print: device unavailable."});
}

}  // namespace
}  // namespace quill
