#pragma once

#include <QCoreApplication>
#include <QString>

namespace quill {

// A message the core keeps as a constant, in the user's language. The constants hold the source
// text (marked for the translation template) because they are made before any translation is
// installed; a message with blanks to fill is looked up here before they are filled, a whole one
// when the program shows it. With no translation installed (the tests, quillmere-render) the
// source text comes back as it is.
inline QString messageText(const QString& source) {
  return QCoreApplication::translate("Messages", source.toUtf8().constData());
}

}  // namespace quill
