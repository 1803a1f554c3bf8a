#pragma once

#include <QString>

class QImage;

namespace quill {

class Dialogs;

enum class PictureSaveError { None, DiskFull, UnknownFormat, Other };

// Writes the picture, pixel for pixel, in the image format its file name's extension names
// (PNG when it has none). The file is written beside the target and renamed into place when
// complete, so a failure never leaves a broken image or harms an earlier file.
[[nodiscard]] PictureSaveError writePicture(const QImage& picture, const QString& path);

// The message for a failed picture save; empty for success.
QString pictureSaveMessage(PictureSaveError error);

// "Save Picture...": asks for a file name and writes the picture there; Cancel does nothing.
void savePicture(const QImage& picture, Dialogs& dialogs);

}  // namespace quill
