#include "core/devices/save_picture.h"

#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <new>

#include "core/document/dialogs.h"
#include "core/document/draw_runner.h"

namespace quill {

Status writePicture(const QImage& picture, const QString& path) {
  QByteArray format = QFileInfo(path).suffix().toLower().toLatin1();
  if (format.isEmpty()) format = "png";
  if (!QImageWriter::supportedImageFormats().contains(format)) {
    return Failure{kUnknownImageFormatMessage};
  }
  // The canvas found no memory for its picture.
  if (picture.isNull()) return Failure{kNoMemoryMessage};
  // Encoded straight into the file, which replaces an earlier one only once complete: a copy of
  // the encoded bytes in memory could take as much again as the picture.
  return writeFileStreaming(path, kPictureSaveMessages, [&](QIODevice& device) -> Status {
    try {
      QImageWriter writer(&device, format);
      if (!writer.write(picture)) return Failure{kPictureSaveMessages.other};
    } catch (const std::bad_alloc&) {
      return Failure{kNoMemoryMessage};
    }
    return {};
  });
}

void savePicture(const QImage& picture, Dialogs& dialogs) {
  QString path = dialogs.savePictureFileName();
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".png");
  const Status saved = writePicture(picture, path);
  if (!saved) dialogs.message(saved.message());
}

}  // namespace quill
