#pragma once

class QImage;

namespace quill {

class Dialogs;

// "Save Picture...": asks for a file name (".png" added when it has no extension) and writes the
// picture there with writePicture; Cancel does nothing, a failure shows its message.
void savePicture(const QImage& picture, Dialogs& dialogs);

}  // namespace quill
