#include "app/qt_printer.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace quill {

Status QtPrinter::printPage(const QImage& picture) {
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull()) return Failure{kPrintUnavailableMessage};
  QPrinter printer(info, QPrinter::HighResolution);
  if (!printer.isValid()) return Failure{kPrintUnavailableMessage};
  printer.setDocName(documentName_);
  QPainter painter;
  if (!painter.begin(&printer)) return Failure{kPrintUnavailableMessage};
  painter.drawImage(fitOnPage(picture.size(), printer.pageRect(QPrinter::DevicePixel)), picture);
  // The job is spooled when the painter ends; a failure then is the device's.
  if (!painter.end() || printer.printerState() == QPrinter::Error) {
    return Failure{kPrintIoErrorMessage};
  }
  return {};
}

}  // namespace quill
