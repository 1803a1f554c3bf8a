#include "headless/animation_options.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <cmath>

#include "core/movie/movie_export.h"

namespace quill::headless {

std::optional<KeyArgument> parseKeyArgument(const QString& text) {
  const qsizetype at = text.lastIndexOf(u'@');
  if (at <= 0) return std::nullopt;
  bool number = false;
  KeyArgument key;
  key.time = text.mid(at + 1).toDouble(&number);
  if (!number || !std::isfinite(key.time)) return std::nullopt;
  key.file = text.left(at);
  // FILE:ENTRY where FILE is an .ifs file; a colon in any other name belongs to the name.
  const qsizetype colon = key.file.lastIndexOf(u':');
  if (colon > 0 && key.file.left(colon).endsWith(QStringLiteral(".ifs"), Qt::CaseInsensitive)) {
    key.entry = key.file.mid(colon + 1);
    key.file.truncate(colon);
  }
  return key;
}

QString readAnimationOptions(const QCommandLineParser& parser, RenderOptions& options) {
  auto isSet = [&parser](const char* name) { return parser.isSet(QString::fromLatin1(name)); };
  auto value = [&parser](const char* name) { return parser.value(QString::fromLatin1(name)); };
  const bool animates = isSet("animate") || isSet("key");
  for (const char* name : {"animate", "frames", "fps", "easing"}) {
    if (parser.values(QString::fromLatin1(name)).size() > 1) {
      return QStringLiteral("--%1 given more than once").arg(name);
    }
  }
  if (!animates) {
    for (const char* name : {"frames", "fps", "loop", "easing"}) {
      if (isSet(name)) return QStringLiteral("--%1 goes with --animate or --key").arg(name);
    }
    return QString();
  }
  if (isSet("animate") && isSet("key")) {
    return QStringLiteral("give the keys with --animate FILE or with --key, not both");
  }
  for (const char* name : {"entry", "list-entries", "fit", "save-ifs", "add-to-collection",
                           "report", "report-points", "format", "depth16"}) {
    if (isSet(name)) return QStringLiteral("--%1 does not go with an animation").arg(name);
  }
  options.animation = value("animate");
  if (isSet("animate") && options.animation.isEmpty()) {
    return QStringLiteral("--animate needs a key file (.qmanim)");
  }
  options.keys = parser.values(QStringLiteral("key"));
  for (const QString& key : options.keys) {
    if (!parseKeyArgument(key)) {
      return QStringLiteral(
                 "--key must be FILE@TIME or FILE.ifs:ENTRY@TIME, TIME in seconds; "
                 "'%1' is not")
          .arg(key);
    }
  }
  if (!isSet("frames")) return QStringLiteral("--frames N is required with an animation");
  static const QRegularExpression count(QStringLiteral("^\\d{1,6}$"));
  options.frames = count.match(value("frames")).hasMatch() ? value("frames").toInt() : 0;
  if (options.frames < 1 || options.frames > kMaxFrames) {
    return QStringLiteral("--frames must be a whole number from 1 to %1").arg(kMaxFrames);
  }
  if (isSet("fps")) {
    bool number = false;
    options.framesPerSecond = value("fps").toDouble(&number);
    if (!number || !(options.framesPerSecond >= kMinFramesPerSecond &&
                     options.framesPerSecond <= kMaxFramesPerSecond)) {
      return QStringLiteral("--fps must be a number from %1 to %2")
          .arg(kMinFramesPerSecond)
          .arg(kMaxFramesPerSecond);
    }
  }
  options.loop = isSet("loop");
  if (isSet("easing")) {
    const QString easing = value("easing").toLower();
    if (easing == u"linear") {
      options.easing = Easing::Linear;
    } else if (easing == u"smooth") {
      options.easing = Easing::Smooth;
    } else if (easing == u"spline") {
      options.easing = Easing::Spline;
    } else {
      return QStringLiteral("unknown easing '%1'; use linear, smooth or spline")
          .arg(value("easing"));
    }
  }
  const QString output = value("output");
  if (output.isEmpty()) return QStringLiteral("--output FILE is required");
  if (!movieFormatFor(output)) {
    return QStringLiteral(
               "an animation is written as numbered pictures (frames_%05d.png), a .gif or an "
               ".mp4; '%1' is none of them")
        .arg(QFileInfo(output).fileName());
  }
  return QString();
}

}  // namespace quill::headless
