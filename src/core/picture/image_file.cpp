#include "core/picture/image_file.h"

#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <new>

#include "core/base/render_control.h"

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

}  // namespace quill
