// The fit's goals, measured: each pattern's attractor as the target, fitted from the pattern's
// maps with every coefficient moved by a seeded uniform ±0.05, and from nothing with the
// pattern's number of maps. Prints a table: IoU of the fitted attractor with the target at 256
// cells a side (both grown by one cell), and the seconds the fit took.
//
// The target of a pattern: its maps fitted into the square (Fit Maps to Square), their
// attractor played for 10^7 points onto a 512 × 512 picture of the unit square, and that picture
// read as a target (as "Target Image..." reads one).
//
//   quillmere_collage_goals [--seconds S] [--nothing-seconds S] [--threads N] [--seed N]
//                           [--only NAME] [--perturbed-only | --nothing-only] [--verbose]
//                           [--perturbation P] [--pictures FOLDER]

#include <sys/resource.h>

#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/base/chaos_random.h"
#include "core/collage/attractor_raster.h"
#include "core/collage/attractor_score.h"
#include "core/collage/fit_to_target.h"
#include "core/collage/target.h"
#include "core/maps/pattern_catalogue.h"
#include "core/maths/fit_to_square.h"
#include "support/map_rows.h"

namespace quill {
namespace {

struct Settings {
  double seconds = 10;
  double nothingSeconds = 60;
  int threads = 2;
  std::uint64_t seed = 1;
  std::string only;
  bool perturbed = true;
  bool nothing = true;
  bool verbose = false;        // each improvement on standard error: seconds, IoU
  double perturbation = 0.05;  // of every coefficient, uniform
  std::string pictures;        // a folder for pictures of each target and fit, red on black
};

// The target in grey and the fitted attractor in red over it, at 256 cells a side.
void savePicture(const Target& target, const std::vector<WeightedMap>& fitted,
                 const std::string& name) {
  const Target coarse = coarsenTarget(target, 2);
  std::vector<PlaneMap> maps;
  for (const WeightedMap& m : fitted) maps.push_back(m.map);
  const AttractorRaster raster =
      rasteriseAttractor(maps, coarse.mask.grid, 4'000'000, 2, RenderControl{});
  const int side = coarse.mask.grid.side();
  QImage image(side, side, QImage::Format_RGB32);
  for (int j = 0; j < side; ++j) {
    for (int i = 0; i < side; ++i) {
      const bool t = coarse.mask.at(i, j);
      const bool a = raster.mask.at(i, j);
      image.setPixel(i, j, qRgb(a ? 230 : (t ? 90 : 0), t ? 90 : 0, t && !a ? 90 : 0));
    }
  }
  image.save(QString::fromStdString(name));
}

bool selfSimilar(const QString& name) {
  return name == "Sierpinski" || name == "Koch" || name == "Square Koch" || name == "Crystal5" ||
         name == "Cantor Maze";
}

// The pattern's target, and its maps moved the way reading the picture moved the attractor:
// the picture's shape is placed by the box of its pixels, which is not quite the attractor's box
// (the tips of a twig are seldom visited), so the maps that draw the target exactly are these.
struct PatternTarget {
  Target target;
  std::vector<PlaneMap> maps;
};

PatternTarget patternTarget(const std::vector<PlaneMap>& maps, int threads) {
  RenderControl control;
  control.threads = threads;
  constexpr int kSide = 512;
  const AttractorRaster raster =
      rasteriseAttractor(maps, CollageGrid{kSide, 0}, 10'000'000, 1, control);
  QImage image(kSide, kSide, QImage::Format_Grayscale8);
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) image.scanLine(y)[x] = raster.mask.at(x, y) ? 0 : 255;
  }
  PatternTarget result{targetFromImage(image, false).value(), {}};
  // The placement x' = S·x + t of target.cpp, from the box of the picture's pixels.
  const CellWindow& box = raster.window;
  const double k = kTargetSide / std::max(box.width, box.height);
  const double scale = kSide * k;
  const double tx = 0.5 - 0.5 * k * box.width - box.x * k;
  const double ty = 0.5 + 0.5 * k * box.height - scale + box.y * k;
  for (const PlaneMap& m : maps) {
    result.maps.push_back({m.a, m.b, m.c, m.d, scale * m.e - (m.a * tx + m.b * ty) + tx,
                           scale * m.f - (m.c * tx + m.d * ty) + ty});
  }
  return result;
}

double goalIoU(const Target& target, const std::vector<WeightedMap>& fitted, int threads) {
  const Target coarse = coarsenTarget(target, 2);
  std::vector<PlaneMap> maps;
  for (const WeightedMap& m : fitted) maps.push_back(m.map);
  RenderControl control;
  control.threads = threads;
  const AttractorRaster raster = rasteriseAttractor(maps, coarse.mask.grid, 20'000'000, 2, control);
  return grownIoU(raster.mask, coarse.mask);
}

struct Run {
  double iou = 0, seconds = 0, startIoU = 0;
  double cpu = 0;  // seconds of processor time, all threads
  std::int64_t scores = 0;
  bool converged = false;
};

double processorSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_utime.tv_sec) + 1e-6 * double(usage.ru_utime.tv_usec);
}

Run fit(const Target& target, const std::vector<PlaneMap>& start, int count, double seconds,
        const Settings& settings) {
  Run run;
  std::vector<WeightedMap> startMaps;
  for (const PlaneMap& m : start) startMaps.push_back({m, 1});
  if (!start.empty()) run.startIoU = goalIoU(target, startMaps, settings.threads);
  FitOptions options;
  options.seed = settings.seed;
  options.seconds = seconds;
  options.mapCount = count;
  RenderControl control;
  control.threads = settings.threads;
  const auto began = std::chrono::steady_clock::now();
  const double cpuBegan = processorSeconds();
  if (settings.verbose) {
    options.improved = [&](const std::vector<WeightedMap>& maps) {
      const double at =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
      std::fprintf(stderr, "  %6.2f s  IoU %.3f\n", at, goalIoU(target, maps, settings.threads));
    };
  }
  const Result<FitOutcome> outcome = fitToTarget(target, start, options, control);
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  run.cpu = processorSeconds() - cpuBegan;
  if (!outcome) {
    std::fprintf(stderr, "%s\n", qPrintable(outcome.message()));
    return run;
  }
  run.iou = goalIoU(target, outcome->maps, settings.threads);
  if (!settings.pictures.empty()) {
    savePicture(target, outcome->maps,
                settings.pictures + "/" + std::to_string(start.size()) + "-" +
                    std::to_string(count) + "-" + std::to_string(int(run.iou * 1000)) + ".png");
  }
  run.scores = outcome->scores;
  run.converged = outcome->converged;
  return run;
}

int measure(const Settings& settings) {
  std::printf(
      "| pattern | maps | perturbed: start IoU | IoU | s | cpu s | scores | from nothing: IoU | s "
      "| cpu s |\n");
  std::printf("|---|---|---|---|---|---|---|---|---|---|\n");
  for (int pattern = 0; pattern < 11; ++pattern) {
    const PatternEntry& entry = kPatterns[std::size_t(pattern)];
    if (!settings.only.empty() && entry.menuCaption.toStdString() != settings.only) continue;
    std::vector<PlaneMap> preset;
    for (const WeightedMap& r : testing::presetRows(pattern)) {
      preset.push_back(r.map);
    }
    const PatternTarget made = patternTarget(fitToSquare(preset).value(), settings.threads);
    const Target& target = made.target;
    const std::vector<PlaneMap>& maps = made.maps;

    std::string perturbedCells = " | | | | ";
    if (settings.perturbed) {
      ChaosRandom random(settings.seed * 1000 + std::uint64_t(pattern));
      std::vector<PlaneMap> start;
      for (const PlaneMap& m : maps) {
        auto moved = [&](double v) {
          return v + settings.perturbation * (2 * double(random.next()) - 1);
        };
        start.push_back({moved(m.a), moved(m.b), moved(m.c), moved(m.d), moved(m.e), moved(m.f)});
      }
      const Run run = fit(target, start, 0, settings.seconds, settings);
      char cells[200];
      std::snprintf(cells, sizeof cells, "%.3f | %.3f | %.1f | %.1f | %lld%s", run.startIoU,
                    run.iou, run.seconds, run.cpu, (long long)run.scores,
                    run.converged ? " (converged)" : "");
      perturbedCells = cells;
    }
    std::string nothingCells = "– | – | –";
    if (settings.nothing && selfSimilar(entry.menuCaption)) {
      const Run run = fit(target, {}, int(maps.size()), settings.nothingSeconds, settings);
      char cells[100];
      std::snprintf(cells, sizeof cells, "%.3f | %.1f | %.1f", run.iou, run.seconds, run.cpu);
      nothingCells = cells;
    }
    std::printf("| %s | %zu | %s | %s |\n", qPrintable(entry.menuCaption), maps.size(),
                perturbedCells.c_str(), nothingCells.c_str());
    std::fflush(stdout);
  }
  return 0;
}

}  // namespace
}  // namespace quill

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  quill::Settings settings;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    const bool hasValue = i + 1 < argc;
    if (option == "--seconds" && hasValue) {
      settings.seconds = std::atof(argv[++i]);
    } else if (option == "--nothing-seconds" && hasValue) {
      settings.nothingSeconds = std::atof(argv[++i]);
    } else if (option == "--threads" && hasValue) {
      settings.threads = std::atoi(argv[++i]);
    } else if (option == "--seed" && hasValue) {
      settings.seed = std::strtoull(argv[++i], nullptr, 10);
    } else if (option == "--only" && hasValue) {
      settings.only = argv[++i];
    } else if (option == "--perturbation" && hasValue) {
      settings.perturbation = std::atof(argv[++i]);
    } else if (option == "--pictures" && hasValue) {
      settings.pictures = argv[++i];
    } else if (option == "--verbose") {
      settings.verbose = true;
    } else if (option == "--perturbed-only") {
      settings.nothing = false;
    } else if (option == "--nothing-only") {
      settings.perturbed = false;
    } else {
      std::fprintf(stderr, "quillmere_collage_goals: unknown option %s\n", option.c_str());
      return 2;
    }
  }
  return quill::measure(settings);
}
