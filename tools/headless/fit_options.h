#pragma once

#include <QCommandLineParser>
#include <QString>

#include "headless/render_options.h"

namespace quill::headless {

// Reads --target, --invert, --maps, --time-limit and (with --target) --seed into `options`
// once the maps to start from are known; an empty string when they are fine, else what is
// wrong.
QString readFitOptions(const QCommandLineParser& parser, RenderOptions& options);

}  // namespace quill::headless
