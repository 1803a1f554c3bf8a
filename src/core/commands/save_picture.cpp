#include "core/commands/save_picture.h"

#include <QFileInfo>
#include <QImage>

#include "core/commands/show_if_failed.h"
#include "core/picture/image_file.h"

namespace quill {

QString savePicture(const QImage& picture, Dialogs& dialogs, const QByteArray& record) {
  QString path = dialogs.savePictureFileName();
  if (path.isEmpty()) return {};
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".png");
  const Status written = writePicture(picture, path, record);
  showIfFailed(dialogs, written);
  return written ? path : QString();
}

}  // namespace quill
