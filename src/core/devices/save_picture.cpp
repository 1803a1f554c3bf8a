#include "core/devices/save_picture.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>

#include "core/document/dialogs.h"

namespace quill {

Status writePicture(const QImage& picture, const QString& path) {
  const QByteArray format = QFileInfo(path).suffix().toLower().toLatin1();
  return writePicture(picture, path, format.isEmpty() ? QByteArray("png") : format, nullptr);
}

Status writePicture(const QImage& picture, const QString& path, const QByteArray& format,
                    const std::atomic<bool>* cancel) {
  if (!QImageWriter::supportedImageFormats().contains(format)) {
    return Failure{kUnknownImageFormatMessage};
  }
  // Encode in memory first: the file is then written in one piece, atomically.
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  if (!writer.write(picture)) return Failure{kPictureSaveMessages.other};
  const auto writeBytes = [&bytes](QIODevice& device) -> Status {
    if (device.write(bytes) != bytes.size()) return Failure{kPictureSaveMessages.other};
    return {};
  };
  return writeFileStreaming(path, kPictureSaveMessages, writeBytes, cancel);
}

void savePicture(const QImage& picture, Dialogs& dialogs) {
  QString path = dialogs.savePictureFileName();
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".png");
  const Status saved = writePicture(picture, path);
  if (!saved) dialogs.message(saved.message());
}

}  // namespace quill
