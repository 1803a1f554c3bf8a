#pragma once

#include <QByteArray>
#include <QString>
#include <atomic>

#include "core/base/result.h"
#include "core/base/save_file.h"

class QImage;

namespace quill {

class Dialogs;

inline const QString kUnknownImageFormatMessage = QStringLiteral(
    "Cannot save the picture: unknown image format. Please use a name ending in .png.");
inline const SaveMessages kPictureSaveMessages = {
    QStringLiteral("Cannot save the picture: disk full."),
    QStringLiteral("Cannot save the picture. Please try again.")};

// Writes the picture, pixel for pixel, in the image format its file name's extension names
// (PNG when it has none), atomically: a failure never leaves a broken image or harms an earlier
// file. Fails with kUnknownImageFormatMessage or one of kPictureSaveMessages.
Status writePicture(const QImage& picture, const QString& path);

// writePicture in the image format named by `format` ("png", "bmp", "jpg" ...) whatever the
// name says, as for standard output; a FIFO without a reader is waited for while `cancel` is
// clear.
Status writePicture(const QImage& picture, const QString& path, const QByteArray& format,
                    const std::atomic<bool>* cancel);

// "Save Picture...": asks for a file name (".png" added when it has no extension) and writes the
// picture there; Cancel does nothing, a failure shows its message.
void savePicture(const QImage& picture, Dialogs& dialogs);

}  // namespace quill
