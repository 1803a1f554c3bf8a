#include "headless/animation_run.h"

#include <QCoreApplication>
#include <new>
#include <system_error>

#include "core/commands/drawing_checks.h"
#include "core/commands/ifs_commands.h"
#include "core/commands/load_save.h"
#include "core/commands/pattern_menu.h"
#include "core/editor/table_maps.h"
#include "core/maps/pattern_catalogue.h"
#include "core/maps/preset_folder.h"
#include "core/maps/read_grid.h"
#include "core/morph/key_file.h"
#include "core/movie/movie_export.h"
#include "core/movie/movie_setup.h"
#include "core/params/ifs_file.h"
#include "headless/animation_options.h"
#include "headless/headless_parts.h"
#include "headless/headless_run.h"
#include "headless/option_table.h"

namespace quill::headless {

namespace {

// A document as quillmere-render starts one, for a canvas of the options' size.
struct HeadlessDocument {
  explicit HeadlessDocument(const RenderOptions& options)
      : canvasWindow(options.width, options.height), document(canvasWindow, dialogs, printer) {
    canvasWindow.load(document.drawing);
    startUp(document, float(options.width * kTwipsPerPixel),
            float(options.height * kTwipsPerPixel));
    document.drawing.paperColor = options.paper;
    document.drawing.penColor = options.pen;
  }
  Dialogs dialogs;
  NoPrinter printer;
  OffscreenCanvasWindow canvasWindow;
  Document document;
};

// A key's maps as --pattern, --params or --ifs with --entry would load them into the grid.
Result<AnimationKey> readKey(const KeyArgument& argument, const RenderOptions& options) {
  AnimationKey key;
  key.time = argument.time;
  key.source = argument.entry.isEmpty() ? argument.file : argument.file + u':' + argument.entry;
  if (argument.file.endsWith(QStringLiteral(".ifs"), Qt::CaseInsensitive)) {
    Result<std::vector<IfsEntry>> entries = readIfsFile(argument.file);
    if (!entries) return Failure{entries.message()};
    const IfsEntry* entry = findEntry(*entries, argument.entry);
    if (entry == nullptr) {
      return Failure{QStringLiteral("The file has no entry named %1.").arg(argument.entry)};
    }
    if (!entry->refusal.isEmpty()) return Failure{entry->refusal};
    key.name = entry->name;
    key.maps = entry->maps;
    return key;
  }
  HeadlessDocument headless(options);
  const std::optional<int> pattern = keyPattern(key);
  Status loaded;
  if (pattern) {
    const PresetFolder presets = findPresetFolder(QCoreApplication::applicationDirPath());
    headless.document.presetDirectory = presets.path;
    loaded = loadPattern(headless.document, *pattern);
    key.name = kPatterns[std::size_t(*pattern)].menuCaption;
  } else if (argument.file.startsWith(QStringLiteral("pattern:"))) {
    loaded = Failure{QStringLiteral("unknown pattern '%1'; the patterns are: %2")
                         .arg(argument.file.mid(argument.file.indexOf(u':') + 1), patternNames())};
  } else {
    loaded = loadParametersFrom(headless.document, argument.file);
  }
  if (!loaded) return Failure{argument.file + QStringLiteral(": ") + loaded.message()};
  const Result<MapTable> table = readGrid(headless.document.state);
  if (!table) return Failure{argument.file + QStringLiteral(": ") + table.message()};
  key.maps = weightedMaps(*table);
  if (key.maps.empty()) return Failure{argument.file + QStringLiteral(": the file holds no maps.")};
  return key;
}

Result<Animation> readAnimation(const RenderOptions& options) {
  Animation animation;
  if (!options.animation.isEmpty()) {
    Result<Animation> read = readAnimationFile(options.animation);
    if (!read) return Failure{options.animation + QStringLiteral(": ") + read.message()};
    animation = std::move(read.value());
  }
  for (const QString& text : options.keys) {
    Result<AnimationKey> key = readKey(*parseKeyArgument(text), options);
    if (!key) return Failure{key.message()};
    animation.keys.push_back(std::move(key.value()));
  }
  if (options.easing) animation.easing = *options.easing;
  animation.loop = animation.loop || options.loop;
  return animation;
}

}  // namespace

int runAnimation(const RenderOptions& options, std::FILE* errors, const std::atomic<bool>* cancel,
                 bool showProgress) {
  auto refuse = [errors](const QString& message) {
    printMessage(message, errors);
    return kExitRefused;
  };
  const Result<Animation> animation = readAnimation(options);
  if (!animation) return refuse(animation.message());
  Result<AnimationPlan> plan = planAnimation(*animation);
  if (!plan) return refuse(plan.message());
  for (const TurnOver& turnOver : plan->turnOvers) {
    printMessage(QStringLiteral("Note: ") + turnOverMessage(turnOver), errors);
  }

  // The first key in the grid, checked as the drawing command checks it: the count, the kind of
  // drawing and the drawing state. The fractal's figure follows each key's pattern.
  HeadlessDocument headless(options);
  const AnimationKey& first = animation->keys.front();
  IfsEntry entry;
  entry.name = first.name;
  entry.mapCount = int(first.maps.size());
  entry.maps = first.maps;
  if (const Status loaded = loadIfsEntry(headless.document, entry, false); !loaded) {
    return refuse(loaded.message());
  }
  headless.document.state.selectedPattern = keyPattern(first);
  const Result<PictureInputs> inputs =
      checkPictureInputs(headless.document, pictureMode(*options.mode), options.iterations);
  if (!inputs) return refuse(inputs.message());

  MovieRequest movie;
  movie.inputs = *inputs;
  movie.keyKinds = keyDrawingKinds(animation->keys, inputs->kind);
  movie.plan = std::move(plan.value());
  movie.frameCount = options.frames;
  movie.framesPerSecond = options.framesPerSecond;
  movie.picture = moviePicture(pictureRequestOf(options),
                               movieFormatFor(options.output).value_or(MovieFormat::PngSequence));
  RenderControl control;
  control.cancel = cancel;
  control.threads = options.threads;
  if (showProgress) control.progress = terminalProgress(errors, "Rendering frames");
  Status written;
  try {
    written = exportMovie(movie, control, options.output);
  } catch (const std::bad_alloc&) {
    written = Failure{kNoMemoryMessage};
  } catch (const std::system_error&) {
    written = Failure{kNoThreadMessage};
  }
  if (showProgress) std::fprintf(errors, "\r                        \r");
  return outcome(written, "movie", errors, cancel);
}

}  // namespace quill::headless
