#pragma once

#include <QCommandLineParser>
#include <QString>

#include "headless/render_options.h"

namespace quill::headless {

// The animation's options (--animate, --key, --frames, --fps, --loop, --easing) into `options`,
// and the options that cannot go with them refused; an empty string when they are fine (or not
// given), else what is wrong.
QString readAnimationOptions(const QCommandLineParser& parser, RenderOptions& options);

// A --key value split into the file, the .ifs entry (empty: none) and the time; nothing when it
// is not FILE[:ENTRY]@TIME with a finite TIME.
struct KeyArgument {
  QString file;
  QString entry;
  double time = 0;
};
std::optional<KeyArgument> parseKeyArgument(const QString& text);

}  // namespace quill::headless
