#pragma once

#include <QCommandLineParser>
#include <QString>

#include "headless/render_options.h"

namespace quill::headless {

// Reads --target, --invert, --maps, --time-limit and (with --target) --seed into `options`
// once the maps to start from are known; an empty string when they are fine, else what is
// wrong.
QString readFitOptions(const QCommandLineParser& parser, RenderOptions& options);

// --seed, of the chaos game's picture and of the fit alike: sets `seed` when it is given and
// reads as a whole number from 0 to 2^64 - 1; an empty string then or when it is not given, else
// what is wrong.
QString readSeed(const QCommandLineParser& parser, std::uint64_t& seed);

}  // namespace quill::headless
