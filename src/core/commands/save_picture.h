#pragma once

#include <QByteArray>
#include <QString>

class QImage;

namespace quill {

class Dialogs;

// "Save Picture...": asks for a file name (".png" added when it has no extension) and writes the
// picture there with writePicture, a PNG carrying `record` (what the picture was drawn from);
// Cancel does nothing, a failure shows its message. Returns the file written, or an empty string.
QString savePicture(const QImage& picture, Dialogs& dialogs, const QByteArray& record = {});

}  // namespace quill
