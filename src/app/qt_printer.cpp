#include "app/qt_printer.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace quill {

PrintError QtPrinter::printPage(const QImage& picture) {
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull()) return PrintError::DeviceUnavailable;
  QPrinter printer(info, QPrinter::HighResolution);
  if (!printer.isValid()) return PrintError::DeviceUnavailable;
  printer.setDocName(documentName_);
  QPainter painter;
  if (!painter.begin(&printer)) return PrintError::DeviceUnavailable;
  painter.drawImage(fitOnPage(picture.size(), printer.pageRect(QPrinter::DevicePixel)), picture);
  // The job is spooled when the painter ends; a failure then is the device's.
  if (!painter.end() || printer.printerState() == QPrinter::Error) {
    return PrintError::DeviceIoError;
  }
  return PrintError::None;
}

}  // namespace quill
