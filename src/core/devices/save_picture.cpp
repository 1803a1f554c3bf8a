#include "core/devices/save_picture.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>

#include "core/document/dialogs.h"

namespace quill {

Status writePicture(const QImage& picture, const QString& path) {
  QByteArray format = QFileInfo(path).suffix().toLower().toLatin1();
  if (format.isEmpty()) format = "png";
  if (!QImageWriter::supportedImageFormats().contains(format)) {
    return Failure{kUnknownImageFormatMessage};
  }
  // Encode in memory first: the file is then written in one piece, atomically.
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  if (!writer.write(picture)) return Failure{kPictureSaveMessages.other};
  return writeFileAtomically(path, bytes, kPictureSaveMessages);
}

void savePicture(const QImage& picture, Dialogs& dialogs) {
  QString path = dialogs.savePictureFileName();
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".png");
  const Status saved = writePicture(picture, path);
  if (!saved) dialogs.message(saved.message());
}

}  // namespace quill
