#include "core/canvas/canvas.h"
#include "core/document/canvas_window.h"
#include "core/document/dialogs.h"
#include "core/document/document.h"

namespace quill {

QString printErrorMessage(PrintError error) {
  switch (error) {
    case PrintError::None:
      return QString();
    case PrintError::DeviceUnavailable:
      return QStringLiteral("Cannot print: device unavailable.");
    case PrintError::DeviceIoError:
      return QStringLiteral("Cannot print: device I/O error.");
    case PrintError::Other:
      break;
  }
  return QStringLiteral("Cannot print. Please try again.");
}

QRectF fitOnPage(const QSizeF& picture, const QRectF& page) {
  if (picture.isEmpty() || page.isEmpty()) return QRectF(page.topLeft(), QSizeF(0, 0));
  QSizeF size = picture;
  size.scale(page.size(), Qt::KeepAspectRatio);
  return QRectF(page.left() + (page.width() - size.width()) / 2,
                page.top() + (page.height() - size.height()) / 2, size.width(), size.height());
}

void Panel::cmdPrint_Click() {
  // The page is printed on white whatever the background; paperColor stays for later drawings.
  Canvas& canvas = form1_.canvas();
  canvas.setBackColor(kWhite);
  form1_.pictureChanged();
  const PrintError error = printer_.printPage(canvas.picture());
  if (error != PrintError::None) dialogs_.message(printErrorMessage(error));
}

void Panel::mnuForeColor_Click() {
  // Cancel keeps the colour as it was.
  const std::optional<Rgb> chosen = dialogs_.chooseColor(dialogColor_);
  if (!chosen) return;
  dialogColor_ = *chosen;
  module1_.penColor = *chosen;
}

void Panel::mnuBackColor_Click() {
  const std::optional<Rgb> chosen = dialogs_.chooseColor(dialogColor_);
  if (!chosen) return;
  dialogColor_ = *chosen;
  module1_.paperColor = *chosen;
  form1_.canvas().setBackColor(module1_.paperColor);  // what is drawn stays
  form1_.pictureChanged();
}

}  // namespace quill
