#include "core/devices/save_picture.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>

#include "core/document/dialogs.h"
#include "core/params/param_file.h"

namespace quill {

PictureSaveError writePicture(const QImage& picture, const QString& path) {
  QByteArray format = QFileInfo(path).suffix().toLower().toLatin1();
  if (format.isEmpty()) format = "png";
  if (!QImageWriter::supportedImageFormats().contains(format)) {
    return PictureSaveError::UnknownFormat;
  }
  // Encode in memory first: the file is then written in one piece, atomically.
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  if (!writer.write(picture)) return PictureSaveError::Other;
  switch (writeFileAtomically(path, bytes)) {
    case SaveError::None:
      return PictureSaveError::None;
    case SaveError::DiskFull:
      return PictureSaveError::DiskFull;
    case SaveError::Other:
      break;
  }
  return PictureSaveError::Other;
}

QString pictureSaveMessage(PictureSaveError error) {
  switch (error) {
    case PictureSaveError::None:
      return QString();
    case PictureSaveError::DiskFull:
      return QStringLiteral("Cannot save the picture: disk full.");
    case PictureSaveError::UnknownFormat:
      return QStringLiteral(
          "Cannot save the picture: unknown image format. Please use a name ending in .png.");
    case PictureSaveError::Other:
      break;
  }
  return QStringLiteral("Cannot save the picture. Please try again.");
}

void savePicture(const QImage& picture, Dialogs& dialogs) {
  QString path = dialogs.savePictureFileName();
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".png");
  const PictureSaveError error = writePicture(picture, path);
  if (error != PictureSaveError::None) dialogs.message(pictureSaveMessage(error));
}

}  // namespace quill
