#pragma once

#include <QLocale>
#include <QString>

class QCoreApplication;

namespace quill {

// Installs the program's translation for `locale` (quillmere_<language>.qm, looked for in a
// translations folder beside the program and then in the installed data folder) and Qt's own
// (qtbase_<language>.qm from Qt's translations folder). A language with no translation installed
// leaves the source texts: nothing is said. Returns whether the program's own was installed.
bool installTranslations(QCoreApplication& application, const QLocale& locale,
                         const QString& programFolder);

}  // namespace quill
