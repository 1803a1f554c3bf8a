#include "headless/render_options.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QRegularExpression>
#include <cmath>

#include "core/maps/map_table.h"
#include "core/maps/pattern_catalogue.h"
#include "headless/animation_options.h"
#include "headless/fit_options.h"
#include "headless/option_table.h"

namespace quill::headless {

namespace {

std::optional<Rgb> parseColor(QString text) {
  if (text.startsWith(u'#')) text.remove(0, 1);
  static const QRegularExpression hex(QStringLiteral("^[0-9A-Fa-f]{6}$"));
  if (!hex.match(text).hasMatch()) return std::nullopt;
  return Rgb(text.toUInt(nullptr, 16));
}

int patternIndex(const QString& name) {
  for (int index = 0; index < kPatternCount; ++index) {
    if (kPatterns[std::size_t(index)].menuCaption.compare(name, Qt::CaseInsensitive) == 0) {
      return index;
    }
  }
  return -1;
}

// The options of pictures rendered to a file, once the mode and the output are known; an empty
// string when they are fine, else what is wrong.
QString readPictureOptions(const QCommandLineParser& parser, RenderOptions& options) {
  // An animation's frames are rendered as its pictures would be, whatever holds them.
  const QString named = options.animates()         ? QStringLiteral("frame.png")
                        : options.format.isEmpty() ? options.output
                                                   : QStringLiteral("picture.") + options.format;
  auto isSet = [&parser](const char* name) { return parser.isSet(QString::fromLatin1(name)); };
  auto value = [&parser](const char* name) { return parser.value(QString::fromLatin1(name)); };
  if (isSet("shade")) {
    const QString shade = value("shade").toLower();
    if (shade == u"flat") {
      options.shading = Shading::Flat;
    } else if (shade == u"density") {
      options.shading = Shading::Density;
    } else if (shade == u"by-map") {
      options.shading = Shading::ByMap;
    } else {
      return QStringLiteral("unknown shading '%1'; use flat, density or by-map")
          .arg(value("shade"));
    }
  }
  if (isSet("gamma")) {
    bool number = false;
    options.gamma = value("gamma").toDouble(&number);
    if (!number || !std::isfinite(options.gamma) || options.gamma < kMinGamma ||
        options.gamma > kMaxGamma) {
      return QStringLiteral("--gamma must be a number from %1 to %2").arg(kMinGamma).arg(kMaxGamma);
    }
  }
  if (isSet("tone")) {
    const QString tone = value("tone").toLower();
    if (tone != u"log" && tone != u"mean") {
      return QStringLiteral("unknown tone '%1'; use log or mean").arg(value("tone"));
    }
    options.tone = tone == u"mean" ? Tone::Mean : Tone::Log;
  }
  if (isSet("gamma-threshold")) {
    bool number = false;
    options.gammaThreshold = value("gamma-threshold").toDouble(&number);
    if (!number || !(options.gammaThreshold >= 0 && options.gammaThreshold <= 1)) {
      return QStringLiteral("--gamma-threshold must be a number from 0 to 1");
    }
  }
  options.transparent = isSet("transparent");
  if (isSet("supersample")) {
    static const QRegularExpression digit(QStringLiteral("^\\d$"));
    const QString text = value("supersample");
    options.supersample = digit.match(text).hasMatch() ? text.toInt() : 0;
    if (options.supersample < 1 || options.supersample > kMaxSupersample) {
      return QStringLiteral("--supersample must be a whole number from 1 to %1")
          .arg(kMaxSupersample);
    }
  }
  if (isSet("map-colours")) {
    const QStringList colours = value("map-colours").split(u',');
    if (colours.size() > kMaxMaps) {
      return QStringLiteral("--map-colours takes at most %1 colours, one per map").arg(kMaxMaps);
    }
    for (const QString& text : colours) {
      const std::optional<Rgb> colour = parseColor(text.trimmed());
      if (!colour) {
        return QStringLiteral(
                   "--map-colours must be colours RRGGBB in hex separated by commas, such as "
                   "E6194B,3CB44B; '%1' is not one")
            .arg(text);
      }
      options.mapColours.push_back(*colour);
    }
  }
  options.depth16 = isSet("depth16");
  if (const QString wrong = readSeed(parser, options.seed); !wrong.isEmpty()) return wrong;

  const std::optional<PictureFormat> format = pictureFormatFor(named, options.depth16);
  const bool svg = format == PictureFormat::Svg;
  const bool chaos = options.mode == Mode::Chaos;
  const bool anyOption = isSet("shade") || isSet("gamma") || isSet("supersample") ||
                         isSet("map-colours") || options.depth16 || isSet("seed") ||
                         isSet("tone") || isSet("gamma-threshold") || options.transparent;
  if (svg && chaos) {
    return QStringLiteral(
        "SVG is drawn for blueprint and fractal only; write the chaos game to a "
        ".png file");
  }
  if (options.shading != Shading::Flat && !chaos) {
    return QStringLiteral("--shade %1 shades the chaos game only (--mode chaos)")
        .arg(value("shade").toLower());
  }
  if (isSet("gamma") && options.shading == Shading::Flat) {
    return QStringLiteral("--gamma goes with --shade density or by-map");
  }
  if (isSet("tone") && options.shading == Shading::Flat) {
    return QStringLiteral("--tone goes with --shade density or by-map");
  }
  if (isSet("gamma-threshold") && options.tone != Tone::Mean) {
    return QStringLiteral("--gamma-threshold goes with --tone mean");
  }
  if (isSet("map-colours") && options.shading != Shading::ByMap) {
    return QStringLiteral("--map-colours goes with --shade by-map");
  }
  if (svg && (options.depth16 || isSet("supersample"))) {
    return QStringLiteral("--depth16 and --supersample are for PNG pictures, not SVG");
  }
  if (options.depth16 && (format == PictureFormat::Bmp || format == PictureFormat::Jpeg)) {
    return QStringLiteral("--depth16 is for PNG pictures; BMP and JPEG have 8 bits a channel");
  }
  if (anyOption && !format) {
    return QStringLiteral(
        "pictures with --shade, --gamma, --tone, --gamma-threshold, --supersample, "
        "--map-colours, --depth16, --transparent or --seed are written as .png, .bmp or .jpg "
        "(or .svg)");
  }
  options.renderToFile = anyOption || svg;
  return QString();
}

// The picture's type that --format names, checked against the output's name; an empty string
// when they agree, else what is wrong. Standard output takes PNG unless told otherwise.
QString readFormat(const QCommandLineParser& parser, RenderOptions& options) {
  const QString option = QStringLiteral("format");
  if (!parser.isSet(option)) {
    if (options.output == kStandardOutputArgument) options.format = QStringLiteral("png");
    return QString();
  }
  QString format = parser.value(option).toLower();
  if (format == u"jpeg") format = QStringLiteral("jpg");
  if (format != u"png" && format != u"bmp" && format != u"jpg" && format != u"svg") {
    return QStringLiteral("unknown format '%1'; use png, bmp, jpg or svg")
        .arg(parser.value(option));
  }
  // A name without an extension takes the format; one with an extension must say the same.
  const QString suffix = QFileInfo(options.output).suffix().toLower();
  if (options.output != kStandardOutputArgument && !suffix.isEmpty() && suffix != format &&
      !(format == u"jpg" && suffix == u"jpeg")) {
    return QStringLiteral(
               "--format %1 does not agree with the name '%2'; name it .%1 or leave "
               "out --format")
        .arg(format, QFileInfo(options.output).fileName());
  }
  options.format = format;
  return QString();
}

ParsedArguments usageError(const QString& message) {
  ParsedArguments parsed;
  parsed.error = message;
  return parsed;
}

}  // namespace

ParsedArguments parseArguments(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  parser.addOptions(tableOptions());
  const QCommandLineOption pattern = tableOption(QStringLiteral("pattern"));
  const QCommandLineOption params = tableOption(QStringLiteral("params"));
  const QCommandLineOption mode = tableOption(QStringLiteral("mode"));
  const QCommandLineOption iterations = tableOption(QStringLiteral("iterations"));
  const QCommandLineOption size = tableOption(QStringLiteral("size"));
  const QCommandLineOption pen = tableOption(QStringLiteral("pen"));
  const QCommandLineOption paper = tableOption(QStringLiteral("paper"));
  const QCommandLineOption threads = tableOption(QStringLiteral("threads"));
  const QCommandLineOption output = tableOption(QStringLiteral("output"));
  const QCommandLineOption format = tableOption(QStringLiteral("format"));
  const QCommandLineOption ifs = tableOption(QStringLiteral("ifs"));
  const QCommandLineOption entry = tableOption(QStringLiteral("entry"));
  const QCommandLineOption fit = tableOption(QStringLiteral("fit"));
  const QCommandLineOption saveIfs = tableOption(QStringLiteral("save-ifs"));
  const QCommandLineOption listEntries = tableOption(QStringLiteral("list-entries"));
  const QCommandLineOption addToCollection = tableOption(QStringLiteral("add-to-collection"));
  const QCommandLineOption report = tableOption(QStringLiteral("report"));
  const QCommandLineOption reportPoints = tableOption(QStringLiteral("report-points"));
  const QCommandLineOption help = tableOption(QStringLiteral("help"));
  const QCommandLineOption version = tableOption(QStringLiteral("version"));
  const QCommandLineOption shade = tableOption(QStringLiteral("shade"));
  const QCommandLineOption gamma = tableOption(QStringLiteral("gamma"));
  const QCommandLineOption supersample = tableOption(QStringLiteral("supersample"));
  const QCommandLineOption mapColours = tableOption(QStringLiteral("map-colours"));
  const QCommandLineOption seed = tableOption(QStringLiteral("seed"));
  const QCommandLineOption depth16 = tableOption(QStringLiteral("depth16"));
  const QCommandLineOption tone = tableOption(QStringLiteral("tone"));
  const QCommandLineOption gammaThreshold = tableOption(QStringLiteral("gamma-threshold"));
  const QCommandLineOption transparent = tableOption(QStringLiteral("transparent"));
  const QCommandLineOption fromPicture = tableOption(QStringLiteral("from-picture"));
  const QCommandLineOption saveParams = tableOption(QStringLiteral("save-params"));
  const QCommandLineOption targetImage = tableOption(QStringLiteral("target"));

  if (!parser.parse(arguments)) return usageError(parser.errorText());
  const bool animates =
      parser.isSet(QStringLiteral("animate")) || parser.isSet(QStringLiteral("key"));
  if (parser.isSet(help) || parser.isSet(version)) {
    ParsedArguments parsed;
    parsed.help = parser.isSet(help);
    parsed.version = !parsed.help;
    return parsed;
  }
  if (!parser.positionalArguments().isEmpty()) {
    return usageError(
        QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().constFirst()));
  }
  // clang-format off
  for (const QCommandLineOption& option :
       {pattern,     params,     mode,   iterations,     size,        pen,        paper,
        threads,     output,     ifs,    entry,          saveIfs,     shade,      gamma,
        tone,        gammaThreshold,     supersample,    mapColours,  seed,       report,
        reportPoints, format,    fromPicture, saveParams}) {
    // clang-format on
    if (parser.values(option).size() > 1) {
      return usageError(QStringLiteral("--%1 given more than once").arg(option.names().first()));
    }
  }

  RenderOptions options;
  const int starts = int(parser.isSet(pattern)) + int(parser.isSet(params)) +
                     int(parser.isSet(ifs)) + int(parser.isSet(fromPicture)) + int(animates);
  // A fit may start from nothing: it seeds its own maps.
  if (starts > 1 || (starts == 0 && !parser.isSet(targetImage))) {
    return usageError(QStringLiteral(
        "give exactly one of --pattern, --params, --ifs, --from-picture and --animate (or "
        "--key)"));
  }
  if (const QString wrong = readAnimationOptions(parser, options); !wrong.isEmpty()) {
    return usageError(wrong);
  }
  // The picture says how it was drawn; these would only say it otherwise.
  for (const QCommandLineOption& option :
       {mode, iterations, size, pen, paper, shade, gamma, tone, gammaThreshold, supersample,
        mapColours, depth16, transparent, seed}) {
    if (parser.isSet(fromPicture) && parser.isSet(option)) {
      return usageError(QStringLiteral("--from-picture draws with the picture's own settings; "
                                       "leave out --%1")
                            .arg(option.names().first()));
    }
  }
  if ((parser.isSet(entry) || parser.isSet(listEntries)) && !parser.isSet(ifs)) {
    return usageError(QStringLiteral("--entry and --list-entries go with --ifs"));
  }
  options.fit = parser.isSet(fit);
  options.listEntries = parser.isSet(listEntries);
  options.saveIfs = parser.value(saveIfs);
  if (parser.isSet(saveIfs) && options.saveIfs.isEmpty()) {
    return usageError(QStringLiteral("--save-ifs needs a file"));
  }
  options.addToCollection = parser.isSet(addToCollection);
  if (options.addToCollection && !parser.isSet(saveIfs)) {
    return usageError(QStringLiteral("--add-to-collection goes with --save-ifs"));
  }
  if (parser.isSet(ifs)) {
    options.ifsFile = parser.value(ifs);
    options.entry = parser.value(entry);
    if (options.ifsFile.isEmpty()) return usageError(QStringLiteral("--ifs needs a file"));
  } else if (parser.isSet(pattern)) {
    options.pattern = patternIndex(parser.value(pattern));
    if (options.pattern < 0) {
      return usageError(QStringLiteral("unknown pattern '%1'; the patterns are: %2")
                            .arg(parser.value(pattern), patternNames()));
    }
  } else if (animates) {
    // the keys are read above
  } else if (parser.isSet(fromPicture)) {
    options.fromPicture = parser.value(fromPicture);
    if (options.fromPicture.isEmpty()) {
      return usageError(QStringLiteral("--from-picture needs a file"));
    }
  } else if (parser.isSet(params)) {
    options.paramsFile = parser.value(params);
    if (options.paramsFile.isEmpty()) return usageError(QStringLiteral("--params needs a file"));
  }

  if (const QString wrong = readFitOptions(parser, options); !wrong.isEmpty()) {
    return usageError(wrong);
  }
  options.saveParams = parser.value(saveParams);
  if (parser.isSet(saveParams) && options.saveParams.isEmpty()) {
    return usageError(QStringLiteral("--save-params needs a file, or - for standard output"));
  }

  options.report = parser.value(report);
  if (parser.isSet(report) && options.report.isEmpty()) {
    return usageError(QStringLiteral("--report needs a file, or - for standard output"));
  }
  if (parser.isSet(reportPoints)) {
    if (!parser.isSet(report))
      return usageError(QStringLiteral("--report-points goes with --report"));
    static const QRegularExpression count(QStringLiteral("^\\d{1,10}$"));
    const QString text = parser.value(reportPoints);
    options.reportPoints = count.match(text).hasMatch() ? text.toLongLong() : 0;
    if (options.reportPoints < kFewestReportPoints || options.reportPoints > kMostReportPoints) {
      return usageError(QStringLiteral("--report-points must be a whole number from %1 to %2")
                            .arg(kFewestReportPoints)
                            .arg(kMostReportPoints));
    }
  }

  // A picture is drawn when asked for; --save-ifs, --list-entries and --report need none.
  const bool picture = animates || parser.isSet(mode) || parser.isSet(output) ||
                       !(options.listEntries || !options.saveIfs.isEmpty() ||
                         !options.saveParams.isEmpty() || !options.report.isEmpty());
  const QString modeName = parser.value(mode).toLower();
  if (!picture) {
    // nothing to draw
  } else if (parser.isSet(fromPicture)) {
    options.mode = Mode::BluePrint;  // until the picture says which
  } else if (modeName == u"blueprint") {
    options.mode = Mode::BluePrint;
  } else if (modeName == u"fractal") {
    options.mode = Mode::Fractal;
  } else if (modeName == u"chaos") {
    options.mode = Mode::Chaos;
  } else {
    return usageError(parser.isSet(mode)
                          ? QStringLiteral("unknown mode '%1'; use blueprint, fractal or chaos")
                                .arg(parser.value(mode))
                          : QStringLiteral("--mode is required: blueprint, fractal or chaos"));
  }
  options.iterations = parser.value(iterations);

  if (parser.isSet(size)) {
    static const QRegularExpression sizePattern(QStringLiteral("^(\\d{1,6})[xX](\\d{1,6})$"));
    const QRegularExpressionMatch match = sizePattern.match(parser.value(size));
    const int width = match.hasMatch() ? match.captured(1).toInt() : 0;
    const int height = match.hasMatch() ? match.captured(2).toInt() : 0;
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) {
      return usageError(
          QStringLiteral("--size must be WIDTHxHEIGHT in pixels, each 1 to %1").arg(kMaxSide));
    }
    options.width = width;
    options.height = height;
  }
  for (const auto& [option, target] :
       {std::pair{&pen, &options.pen}, std::pair{&paper, &options.paper}}) {
    if (!parser.isSet(*option)) continue;
    const std::optional<Rgb> color = parseColor(parser.value(*option));
    if (!color) {
      return usageError(QStringLiteral("--%1 must be a colour RRGGBB in hex, such as 00A000")
                            .arg(option->names().first()));
    }
    *target = *color;
  }

  if (parser.isSet(threads)) {
    static const QRegularExpression count(QStringLiteral("^\\d{1,3}$"));
    const QString text = parser.value(threads);
    options.threads = count.match(text).hasMatch() ? text.toInt() : 0;
    if (options.threads < 1 || options.threads > kMaxThreads) {
      return usageError(
          QStringLiteral("--threads must be a whole number from 1 to %1").arg(kMaxThreads));
    }
  }

  options.output = parser.value(output);
  if (picture && options.output.isEmpty()) {
    return usageError(QStringLiteral("--output FILE is required"));
  }
  if (parser.isSet(format) && !picture) {
    return usageError(QStringLiteral("--format goes with --output"));
  }
  // One stream cannot carry two files.
  if (int(options.output == kStandardOutputArgument) +
          int(options.saveIfs == kStandardOutputArgument) +
          int(options.saveParams == kStandardOutputArgument) +
          int(options.report == kStandardOutputArgument) >
      1) {
    return usageError(QStringLiteral(
        "only one of --output, --save-ifs, --save-params and --report can be - (standard "
        "output)"));
  }
  if (picture) {
    if (const QString wrong = readFormat(parser, options); !wrong.isEmpty()) {
      return usageError(wrong);
    }
    if (const QString wrong = readPictureOptions(parser, options);
        !wrong.isEmpty() && options.fromPicture.isEmpty()) {
      return usageError(wrong);
    }
  }

  ParsedArguments parsed;
  parsed.options = options;
  return parsed;
}

}  // namespace quill::headless
