#pragma once

#include <QImage>
#include <QRectF>
#include <QString>

#include "core/base/result.h"

namespace quill {

// What the print command says when the page could not be printed.
inline const QString kPrintUnavailableMessage =
    QStringLiteral(QT_TRANSLATE_NOOP("Messages", "Cannot print: device unavailable."));
inline const QString kPrintIoErrorMessage =
    QStringLiteral(QT_TRANSLATE_NOOP("Messages", "Cannot print: device I/O error."));
inline const QString kPrintOtherMessage =
    QStringLiteral(QT_TRANSLATE_NOOP("Messages", "Cannot print. Please try again."));

// The default printer: prints one page, no dialog.
class Printer {
 public:
  virtual ~Printer() = default;
  // Prints the picture scaled to fit the printable area, aspect kept and centred. Fails with
  // one of the print messages above.
  virtual Status printPage(const QImage& picture) = 0;
};

// Where a picture lands on a page: scaled to fit `page` with its aspect kept, and centred.
QRectF fitOnPage(const QSizeF& picture, const QRectF& page);

}  // namespace quill
