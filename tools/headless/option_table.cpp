#include "headless/option_table.h"

#include <cassert>

#include "core/base/version.h"
#include "core/maps/pattern_catalogue.h"

namespace quill::headless {

namespace {

constexpr int kLineWidth = 79;   // columns a line of --help may take
constexpr int kHelpColumn = 24;  // where each option's help starts

// The paragraph's words in lines that start at the help column and end before kLineWidth.
QString wrapped(const QString& paragraph, int firstColumn) {
  QString text;
  int column = firstColumn;
  for (const QString& word : paragraph.split(u' ', Qt::SkipEmptyParts)) {
    if (column > kHelpColumn && column + 1 + word.size() > kLineWidth) {
      text += u'\n' + QString(kHelpColumn, u' ');
      column = kHelpColumn;
    } else if (column > kHelpColumn || column < kHelpColumn) {
      const int spaces = column < kHelpColumn ? kHelpColumn - column : 1;
      text += QString(spaces, u' ');
      column += spaces;
    }
    text += word;
    column += int(word.size());
  }
  return text + u'\n';
}

}  // namespace

QString patternNames() {
  QStringList names;
  for (const PatternEntry& pattern : kPatterns) names << pattern.menuCaption;
  return names.join(QStringLiteral(", "));
}

const std::vector<OptionRow>& optionTable() {
  static const std::vector<OptionRow> table = {
      {{"pattern"}, "NAME", "a pattern of the pattern menu, any case: " + patternNames()},
      {{"params"}, "FILE", "a saved parameter file (.dat)"},
      {{"ifs"}, "FILE", "an .ifs file; its first entry, or the one --entry names"},
      {{"entry"}, "NAME", "the .ifs entry to draw, any case"},
      {{"from-picture"},
       "FILE",
       "a PNG or SVG that Quillmere wrote: its maps, mode, count, size, colours, shading and "
       "seed, to draw the picture again"},
      {{"list-entries"}, "", "print the .ifs file's entries: name, map count, 2D or 3D"},
      {{"fit"}, "", "fit the maps into the square (only e and f change)"},
      {{"save-ifs"},
       "FILE",
       "write the maps, after --fit, as one .ifs entry (- for standard output)"},
      {{"add-to-collection"},
       "",
       "add the entry to the .ifs file at --save-ifs, in place of the entry of its name if "
       "there is one; the rest is kept"},
      {{"mode"}, "MODE", "blueprint, fractal or chaos"},
      {{"iterations"},
       "N",
       "the number of iterations, as typed in the panel (fractal: depth, at most 20; chaos: "
       "points)"},
      {{"size"}, "WxH", "drawing area in pixels, default 1920x1080"},
      {{"pen"}, "RRGGBB", "drawing colour, default 000000"},
      {{"paper"}, "RRGGBB", "background colour, default FFFFFF"},
      {{"threads"},
       "N",
       "threads to draw on, default one per core; 1 plays the chaos game as one orbit (the "
       "picture is the same either way)"},
      {{"output"},
       "FILE",
       "the picture; the format follows the extension (.png, .bmp, .jpg ...); .svg draws the "
       "blue print or the fractal as vectors; - for standard output. A FIFO or a device is "
       "written into. An animation is written as numbered pictures (frames_%05d.png), an "
       "animated GIF (.gif) or an MP4 made by ffmpeg (.mp4)"},
      {{"format"},
       "FORMAT",
       "png, bmp, jpg or svg: the picture's type for - (default png), or for a name, which "
       "must then agree with it"},
      {{"shade"},
       "SHADING",
       "the chaos game's shading: flat (default; one pixel per point, as on the canvas), "
       "density (hit counts, log scaled) or by-map (hit counts in the colour of the maps that "
       "placed them)"},
      {{"gamma"}, "G", "density and by-map brightness curve, 0.1 to 10, default 2.2"},
      {{"tone"},
       "TONE",
       "density and by-map brightness: log (default; log hit counts against the most hit "
       "pixel) or mean (against the mean hits of the covered pixels, so the tones hold as "
       "points grow)"},
      {{"gamma-threshold"},
       "X",
       "with --tone mean: below this brightness, 0 to 1, a straight ramp in place of the gamma "
       "curve, so sparse pixels are not lifted; default 0.01"},
      {{"supersample"}, "K", "render K x K times the pixels and average down, 1 to 4"},
      {{"map-colours"}, "LIST", "by-map colours of maps 1, 2 ..., such as E6194B,3CB44B"},
      {{"depth16"}, "", "a PNG of 16 bits a channel (BMP and JPEG have 8)"},
      {{"transparent"},
       "",
       "leave the paper transparent: a PNG with alpha (density ink takes its tone as alpha) or "
       "an SVG without the paper; BMP and JPEG are refused"},
      {{"seed"},
       "N",
       "the chaos game's generator seed, default the program's own, so the picture matches "
       "the program's \"Render Picture...\"; with --target, also the fit's"},
      {{"report"},
       "FILE",
       "what the maps do, as JSON (- for standard output): each map's determinant, "
       "stretches, turn and fixed point, the attractor's box and its similarity and "
       "box-counting dimensions; no picture is needed"},
      {{"report-points"},
       "N",
       "chaos-game points for the box counting, 1000 to 1000000000, default 10000000"},
      {{"target"},
       "IMAGE",
       "a picture of a shape (any type Qt reads) to fit the maps to: its pixels darker than "
       "the background, placed in the square; the maps of --pattern, --params or --ifs are "
       "improved, keeping their number, or --maps maps are seeded from nothing. At the end one "
       "line of JSON on standard error: iou, collage_distance, bound (null when a map does not "
       "contract), maps, seconds"},
      {{"invert"}, "", "with --target: the shape is lighter than its background"},
      {{"maps"}, "N", "with --target and no maps to start from: the number of maps, 1 to 10"},
      {{"time-limit"},
       "SECONDS",
       "with --target: the work the fit may do, in seconds of a two-core machine, 0.1 to "
       "86400, default 10; the same on any machine and any number of threads"},
      {{"save-params"},
       "FILE",
       "write the maps, after --fit or --target, as a parameter file (- for standard output)"},
      {{"animate"},
       "FILE",
       "an animation's keys (.qmanim): morph from key to key and write --frames pictures to "
       "--output"},
      {{"key"},
       "FILE@TIME",
       "a key of the animation, given again for each: a parameter file, an .ifs file with "
       "its entry as FILE:ENTRY, or a pattern as pattern:NAME, at TIME seconds; in the order "
       "of their times"},
      {{"frames"},
       "N",
       "the animation's pictures, 1 to 100000: the first is the first key, the last the last "
       "key (with --loop, the one before the first comes round again)"},
      {{"fps"}, "F", "frames a second of a GIF or an MP4, 1 to 60, default 25"},
      {{"loop"}, "", "morph the last key back into the first, so that the frames loop"},
      {{"easing"},
       "EASING",
       "linear (default, or the key file's), smooth (slowing into each key) or spline (a "
       "Catmull-Rom curve through the keys)"},
      {{"help", "h"}, "", "print this help and exit"},
      {{"version"}, "", "print the version and exit"},
  };
  return table;
}

QCommandLineOption tableOption(const QString& name) {
  for (const OptionRow& row : optionTable()) {
    if (row.names.constFirst() == name) {
      return QCommandLineOption(row.names, row.help, row.valueName);  // no value: a switch
    }
  }
  assert(false && "an option the table does not hold");
  return QCommandLineOption(name);
}

QList<QCommandLineOption> tableOptions() {
  QList<QCommandLineOption> options;
  for (const OptionRow& row : optionTable()) options << tableOption(row.names.constFirst());
  return options;
}

QString helpText() {
  QString text = QStringLiteral(
      "Usage: quillmere-render (--pattern NAME | --params FILE | --ifs FILE |\n"
      "                         --from-picture FILE) [OPTION]...\n"
      "       quillmere-render --target IMAGE --maps N [OPTION]...\n"
      "       quillmere-render (--animate FILE | --key FILE@TIME...) --frames N\n"
      "                         --mode MODE --output FILE [OPTION]...\n"
      "\n"
      "Draws an iterated function system without a window and writes the picture, the\n"
      "maps as an .ifs entry, or a report of what the maps do; or morphs one system into\n"
      "another and writes the frames.\n"
      "\n"
      "Options:\n");
  for (const OptionRow& row : optionTable()) {
    QString names = QStringLiteral("  --") + row.names.constFirst();
    if (!row.valueName.isEmpty()) names += u' ' + row.valueName;
    for (qsizetype i = 1; i < row.names.size(); ++i) names += QStringLiteral(", -") + row.names[i];
    text += names + wrapped(row.help, int(names.size()));
  }
  text += QStringLiteral(
      "\n"
      "Exit status: 0 drawn or written, 1 a command refused or a write failed (its\n"
      "message on standard error), 2 usage error, 130 interrupted before the file was\n"
      "written.\n");
  return text;
}

QString versionText() { return QStringLiteral("quillmere-render ") + programVersion() + u'\n'; }

}  // namespace quill::headless
