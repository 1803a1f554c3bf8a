#include "ui/qt_printer.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace quill {

PrintError QtPrinter::printPage(const QImage& picture) {
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull()) return PrintError::DeviceUnavailable;
  QPrinter printer(info, QPrinter::HighResolution);
  QPainter painter;
  if (!painter.begin(&printer)) return PrintError::DeviceUnavailable;
  const QRectF page = printer.pageRect(QPrinter::DevicePixel);
  QSizeF size = picture.size();
  size.scale(page.size(), Qt::KeepAspectRatio);
  const QRectF target(page.left() + (page.width() - size.width()) / 2,
                      page.top() + (page.height() - size.height()) / 2, size.width(), size.height());
  painter.drawImage(target, picture);
  if (!painter.end()) return PrintError::DeviceIoError;
  return PrintError::None;
}

}  // namespace quill
