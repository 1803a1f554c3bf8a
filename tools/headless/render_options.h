#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/base/chaos_random.h"
#include "core/base/color.h"
#include "core/morph/animation.h"
#include "core/picture/picture.h"

namespace quill::headless {

enum class Mode { BluePrint, Fractal, Chaos };

inline constexpr std::int64_t kDefaultReportPoints = 10'000'000;
inline constexpr std::int64_t kFewestReportPoints = 1000;
inline constexpr std::int64_t kMostReportPoints = 1'000'000'000;

// What one run of quillmere-render is asked to draw.
struct RenderOptions {
  int pattern = -1;          // index in the pattern menu, or -1 with paramsFile or ifsFile
  QString paramsFile;        // a saved parameter file, loaded as "Load Parameters" would
  QString ifsFile;           // an .ifs file, its entry imported as "Import .ifs..." would
  QString entry;             // the entry's name, any case; empty: the first entry
  QString fromPicture;       // a picture Quillmere wrote: its maps and settings (from_picture.h)
  bool fit = false;          // fit the maps into the square before anything else
  bool listEntries = false;  // list the .ifs file's entries and do nothing else
  QString saveIfs;           // write the maps as an .ifs entry; "-" for standard output
  // Add the entry to the .ifs file at saveIfs instead of replacing it: the rest is kept.
  bool addToCollection = false;
  std::optional<Mode> mode;  // nothing: no picture (with --save-ifs or --list-entries)
  QString iterations;        // the "Number of Iteration:" text as typed
  int width = 1920;          // drawing area in pixels, 15 twips each
  int height = 1080;
  Rgb pen = kBlack;
  Rgb paper = kWhite;
  int threads = 0;     // threads to draw on; 0: one per core
  QString output;      // the picture; "-" for standard output
  QString format;      // "png", "bmp", "jpg" or "svg" as --format names it (png for "-");
                       // empty: the output's extension decides
  QString saveParams;  // write the maps as a parameter file; "-" for standard output
  QString report;      // the maths report as JSON; "-" for standard output
  std::int64_t reportPoints = kDefaultReportPoints;  // of the box-counting chaos game
  // The picture options. Without any of them the file (.png, .bmp, .jpg, or any other type Qt
  // writes) is the canvas's own picture; with one the file is .png, .bmp, .jpg or .svg.
  bool renderToFile = false;
  Shading shading = Shading::Flat;
  double gamma = 2.2;
  Tone tone = Tone::Log;
  double gammaThreshold = 0.01;
  bool transparent = false;
  int supersample = 1;
  std::vector<Rgb> mapColours;  // empty: the default palette
  bool depth16 = false;
  std::uint64_t seed = ChaosRandom::kSeed;
  std::optional<std::uint64_t> generatorState;  // a canvas picture's, in place of the seed
  // Fit to a target picture: the maps loaded (or targetMaps seeded) improved toward its shape.
  QString targetFile;
  bool invertTarget = false;
  int targetMaps = 0;         // maps to seed when there are none to start from
  double fitSeconds = 10;     // the work allowed, in seconds of a two-core machine
  std::uint64_t fitSeed = 1;  // --seed, when given
  // An animation: the key file, or the keys as FILE[:ENTRY]@TIME; its frames go to output.
  QString animation;
  QStringList keys;
  int frames = 0;
  double framesPerSecond = 25;
  bool loop = false;
  std::optional<Easing> easing;  // nothing: the key file's, or linear
  bool animates() const { return !animation.isEmpty() || !keys.isEmpty(); }
};

inline constexpr double kFewestFitSeconds = 0.1;
inline constexpr double kMostFitSeconds = 86400;

// The outcome of reading the command line: options to run, help or the version to print, or a
// usage error
// with a one-line hint.
struct ParsedArguments {
  std::optional<RenderOptions> options;
  bool help = false;
  bool version = false;
  QString error;
};

// The file name that stands for standard output in --output, --save-ifs and --report.
inline constexpr char16_t kStandardOutputArgument[] = u"-";

inline constexpr int kMaxSide = 16384;  // pixels; larger pictures would need gigabytes
inline constexpr int kMaxThreads = 256;
inline constexpr double kMinGamma = 0.1;
inline constexpr double kMaxGamma = 10.0;

// Reads the options of the table in option_table.h.
[[nodiscard]] ParsedArguments parseArguments(const QStringList& arguments);

}  // namespace quill::headless
