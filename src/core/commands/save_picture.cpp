#include "core/commands/save_picture.h"

#include <QFileInfo>
#include <QImage>

#include "core/commands/show_if_failed.h"
#include "core/picture/image_file.h"

namespace quill {

void savePicture(const QImage& picture, Dialogs& dialogs) {
  QString path = dialogs.savePictureFileName();
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".png");
  showIfFailed(dialogs, writePicture(picture, path));
}

}  // namespace quill
