#pragma once

#include <QByteArray>
#include <QString>

#include "core/base/result.h"
#include "core/base/save_file.h"
#include "core/morph/animation.h"

namespace quill {

// The animation file (.qmanim): a small JSON object, documented in the README.
//   {"format": "quillmere-animation", "version": 1, "easing": "linear" | "smooth" | "spline",
//    "loop": false,
//    "keys": [{"time": 0, "name": "...", "source": "...", "maps": [[a, b, c, d, e, f, p], ...]}],
//    "matchings": [{"segment": 1, "pairs": [[1, 2], [2, 1], ...]}]}
// Keys, maps and segments are counted from 1 in the file, as the user sees them.
inline constexpr char kAnimationFormat[] = "quillmere-animation";
inline constexpr int kAnimationVersion = 1;
inline constexpr qint64 kMaxAnimationFileBytes = qint64(4) << 20;

inline const SaveMessages kAnimationSaveMessages = {
    QStringLiteral(QT_TRANSLATE_NOOP("Messages", "Cannot save the animation: disk full.")),
    QStringLiteral(QT_TRANSLATE_NOOP("Messages", "Cannot save the animation. Please try again."))};

// The animation's file text. The numbers are written so that they read back bit for bit.
QByteArray animationText(const Animation& animation);

// Reads the file text. Fails with "Cannot read the animation: " and the field that is wrong,
// "keys[2].maps[1] must be 7 numbers (a b c d e f p).", when the text is not such a file; the
// keys' order, counts and matchings are checked by planAnimation, not here.
Result<Animation> readAnimationText(const QByteArray& text);

// The file at `path`, read whole: kFileNotFoundMessage when nothing is there, a message when it
// is not a plain file (a FIFO, a device), cannot be read or passes kMaxAnimationFileBytes, else
// readAnimationText's.
Result<Animation> readAnimationFile(const QString& path);

// Writes the file atomically (writeFileAtomically): an earlier file stays as it was on failure.
Status writeAnimationFile(const QString& path, const Animation& animation);

}  // namespace quill
