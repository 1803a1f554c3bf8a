#pragma once

#include <QImage>
#include <QRectF>
#include <QString>
#include <optional>

#include "core/base/color.h"

namespace quill {

inline const QString kAppTitle = QStringLiteral("Quillmere");

// The modal dialogs the commands ask questions with. Production code shows Qt's dialogs; tests
// script the answers and read what was shown.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // A modal box with the text, the application title, an OK button and no icon.
  virtual void message(const QString& text) = 0;
  // The chosen path, or an empty string when the user cancels.
  virtual QString openFileName() = 0;
  virtual QString saveFileName() = 0;
  // A file name for a picture, PNG unless the user names another image format.
  virtual QString savePictureFileName() = 0;
  // The chosen colour starting from `initial`, or nothing when the user cancels.
  virtual std::optional<Rgb> chooseColor(Rgb initial) = 0;
};

// Why a page could not be printed; the print command words its message from it.
enum class PrintError { None, DeviceUnavailable, DeviceIoError, Other };

// The message the print command shows for each kind of failure; empty for success.
QString printErrorMessage(PrintError error);

// The default printer: prints one page, no dialog.
class Printer {
 public:
  virtual ~Printer() = default;
  // Prints the picture scaled to fit the printable area, aspect kept and centred.
  [[nodiscard]] virtual PrintError printPage(const QImage& picture) = 0;
};

// Where a picture lands on a page: scaled to fit `page` with its aspect kept, and centred.
QRectF fitOnPage(const QSizeF& picture, const QRectF& page);

}  // namespace quill
