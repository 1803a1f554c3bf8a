#include "headless/fit_options.h"

#include <QRegularExpression>
#include <cmath>

#include "core/maps/map_table.h"

namespace quill::headless {

QString readFitOptions(const QCommandLineParser& parser, RenderOptions& options) {
  auto isSet = [&parser](const char* name) { return parser.isSet(QString::fromLatin1(name)); };
  auto value = [&parser](const char* name) { return parser.value(QString::fromLatin1(name)); };
  for (const char* name : {"target", "maps", "time-limit"}) {
    if (parser.values(QString::fromLatin1(name)).size() > 1) {
      return QStringLiteral("--%1 given more than once").arg(QLatin1String(name));
    }
  }
  if (!isSet("target")) {
    for (const char* name : {"invert", "maps", "time-limit"}) {
      if (isSet(name)) return QStringLiteral("--%1 goes with --target").arg(QLatin1String(name));
    }
    return QString();
  }
  options.targetFile = value("target");
  if (options.targetFile.isEmpty()) return QStringLiteral("--target needs a picture");
  if (!options.fromPicture.isEmpty() || options.animates()) {
    return QStringLiteral("--target fits the maps of --pattern, --params or --ifs, or none");
  }
  options.invertTarget = isSet("invert");
  const bool fromNothing =
      options.pattern < 0 && options.paramsFile.isEmpty() && options.ifsFile.isEmpty();
  // The fit keeps the number of maps it starts from; only a fit from nothing chooses one.
  if (fromNothing != isSet("maps")) {
    return fromNothing
               ? QStringLiteral("--target without --pattern, --params or --ifs needs --maps N")
               : QStringLiteral(
                     "--maps seeds a fit from nothing; the fit keeps the number of "
                     "maps of --pattern, --params or --ifs");
  }
  if (fromNothing) {
    static const QRegularExpression count(QStringLiteral("^\\d{1,2}$"));
    const QString text = value("maps");
    options.targetMaps = count.match(text).hasMatch() ? text.toInt() : 0;
    if (options.targetMaps < 1 || options.targetMaps > kMaxMaps) {
      return QStringLiteral("--maps must be a whole number from 1 to %1").arg(kMaxMaps);
    }
  }
  if (isSet("time-limit")) {
    bool number = false;
    const double seconds = value("time-limit").toDouble(&number);
    if (!number || !std::isfinite(seconds) || seconds < kFewestFitSeconds ||
        seconds > kMostFitSeconds) {
      return QStringLiteral("--time-limit must be a number of seconds from %1 to %2")
          .arg(kFewestFitSeconds)
          .arg(kMostFitSeconds);
    }
    options.fitSeconds = seconds;
  }
  return readSeed(parser, options.fitSeed);
}

QString readSeed(const QCommandLineParser& parser, std::uint64_t& seed) {
  const QString name = QStringLiteral("seed");
  if (!parser.isSet(name)) return QString();
  static const QRegularExpression digits(QStringLiteral("^\\d{1,20}$"));
  bool number = false;
  const QString text = parser.value(name);
  const std::uint64_t read = digits.match(text).hasMatch() ? text.toULongLong(&number, 10) : 0;
  if (!number)
    return QStringLiteral("--seed must be a whole number from 0 to 18446744073709551615");
  seed = read;
  return QString();
}

}  // namespace quill::headless
