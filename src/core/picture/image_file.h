#pragma once

#include <QString>

#include "core/base/result.h"
#include "core/base/save_file.h"

class QImage;

namespace quill {

inline const QString kUnknownImageFormatMessage = QStringLiteral(QT_TRANSLATE_NOOP(
    "Messages",
    "Cannot save the picture: unknown image format. Please use a name ending in .png."));
inline const SaveMessages kPictureSaveMessages = {
    QStringLiteral(QT_TRANSLATE_NOOP("Messages", "Cannot save the picture: disk full.")),
    QStringLiteral(QT_TRANSLATE_NOOP("Messages", "Cannot save the picture. Please try again."))};

// Writes the picture, pixel for pixel, in the image format its file name's extension names
// (PNG when it has none), atomically: a failure never leaves a broken image or harms an earlier
// file. Fails with kUnknownImageFormatMessage, one of kPictureSaveMessages, or kNoMemoryMessage
// when the encoder runs out of memory. The whole picture is in memory already: large pictures are
// written a row at a time by the picture writers instead. A PNG carries `record` (recordText)
// when it is not empty.
Status writePicture(const QImage& picture, const QString& path, const QByteArray& record = {});

}  // namespace quill
