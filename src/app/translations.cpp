#include "app/translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

namespace quill {

namespace {

// The installed data folder as seen from the installed program's folder, as for the patterns.
#ifndef QUILLMERE_DATA_FROM_PROGRAM
#define QUILLMERE_DATA_FROM_PROGRAM "../share/quillmere"
#endif

// Loads the first of the folders that holds `name` for the locale; the translator lives as long
// as the application, whose child it is.
bool installFirst(QCoreApplication& application, const QLocale& locale, const QString& name,
                  const QStringList& folders) {
  for (const QString& folder : folders) {
    auto translator = std::make_unique<QTranslator>();
    if (translator->load(locale, name, QStringLiteral("_"), folder)) {
      translator->setParent(&application);
      QCoreApplication::installTranslator(translator.release());
      return true;
    }
  }
  return false;
}

}  // namespace

bool installTranslations(QCoreApplication& application, const QLocale& locale,
                         const QString& programFolder) {
  // Qt's own texts (the buttons of its dialogs) follow the same language as ours.
  installFirst(application, locale, QStringLiteral("qtbase"),
               {QLibraryInfo::path(QLibraryInfo::TranslationsPath)});
  const QDir program(programFolder);
  return installFirst(application, locale, QStringLiteral("quillmere"),
                      {program.filePath(QStringLiteral("translations")),
                       QDir::cleanPath(program.filePath(
                           QStringLiteral(QUILLMERE_DATA_FROM_PROGRAM "/translations")))});
}

}  // namespace quill
