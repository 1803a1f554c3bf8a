#include "app/translations.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>
#include <set>

#include "app/program.h"
#include "core/base/message_text.h"
#include "core/maps/read_grid.h"
#include "support/fakes.h"
#include "support/row_name.h"

namespace quill {
namespace {

// Every (context, source text) pair of a .ts file.
std::set<QString> sourceTexts(const QString& path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
  std::set<QString> texts;
  QXmlStreamReader xml(&file);
  QString context;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (xml.name() == u"name") context = xml.readElementText();
    if (xml.name() == u"source") texts.insert(context + u'|' + xml.readElementText());
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  return texts;
}

// The committed template holds exactly the texts the sources mark: a text added to the program
// without running update_translations, or one left behind after its removal, fails here.
TEST(TranslationTemplate, HoldsEveryTextTheSourcesMark) {
  QTemporaryDir folder;
  const QString fresh = folder.filePath(QStringLiteral("quillmere.ts"));
  QStringList arguments = QStringLiteral(QUILLMERE_LUPDATE_ARGS).split(u'|');
  arguments << QStringLiteral("-ts") << fresh;
  QProcess lupdate;
  lupdate.start(QStringLiteral(QUILLMERE_LUPDATE), arguments);
  ASSERT_TRUE(lupdate.waitForFinished(120000));
  ASSERT_EQ(lupdate.exitCode(), 0) << lupdate.readAllStandardError().toStdString();

  const std::set<QString> current = sourceTexts(fresh);
  const std::set<QString> committed = sourceTexts(QStringLiteral(QUILLMERE_TS_TEMPLATE));
  for (const QString& text : current) {
    EXPECT_TRUE(committed.count(text)) << "new, not in the template: " << text.toStdString();
  }
  for (const QString& text : committed) {
    EXPECT_TRUE(current.count(text)) << "vanished from the sources: " << text.toStdString();
  }
  EXPECT_GT(current.size(), 100u);
}

struct LocaleRow {
  std::string name;
  QLocale locale;
  const char* programFolder;  // under the test's translation folders
  bool found;
  const char* chaosCaption;
  const char* invalidValueText;
};

class TranslationForLocale : public ::testing::TestWithParam<LocaleRow> {
 protected:
  void TearDown() override {
    // The next tests read the source texts.
    for (QTranslator* translator : qApp->findChildren<QTranslator*>()) {
      QCoreApplication::removeTranslator(translator);
      translator->deleteLater();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
};

TEST_P(TranslationForLocale, ChangesThePanelAndTheMessagesOnlyWhenInstalled) {
  const LocaleRow& row = GetParam();
  const QString folder =
      QDir(QStringLiteral(QUILLMERE_TEST_TRANSLATIONS)).filePath(row.programFolder);
  EXPECT_EQ(installTranslations(*qApp, row.locale, folder), row.found);

  testing::ScriptedDialogs dialogs;
  testing::FakePrinter printer;
  Program program(dialogs, printer);
  program.start();
  auto* chaos = program.controlPanel->findChild<QPushButton*>(QStringLiteral("chaosGameButton"));
  ASSERT_NE(chaos, nullptr);
  EXPECT_EQ(chaos->text(), QString::fromUtf8(row.chaosCaption));
  // A message the core keeps as a constant is shown in the user's language.
  EXPECT_EQ(messageText(kInvalidValueMessage), QString::fromUtf8(row.invalidValueText));
  program.controlPanel->close();
  program.canvasWidget->close();
}

INSTANTIATE_TEST_SUITE_P(
    Locales, TranslationForLocale,
    ::testing::Values(LocaleRow{"GermanBesideTheProgram",
                                QLocale(QLocale::German, QLocale::Germany), "build", true,
                                "Chaosspiel", "Ungültiger Parameterwert."},
                      LocaleRow{"GermanInstalled", QLocale(QLocale::German, QLocale::Austria),
                                "prefix/bin", true, "Chaosspiel", "Ungültiger Parameterwert."},
                      LocaleRow{"NoneInstalledForFrench", QLocale(QLocale::French, QLocale::France),
                                "build", false, "Chaos Game", "Invalid parameter value."}),
    testing::RowName());

}  // namespace
}  // namespace quill
