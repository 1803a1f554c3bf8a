#pragma once

#include <QString>
#include <cstdint>

#include "core/base/result.h"
#include "core/render/drawing.h"

namespace quill {

struct Document;

inline const QString kEmptyCountMessage =
    QStringLiteral("Please enter a value for the number of iteration");
inline const QString kImproperCountMessage =
    QStringLiteral("Please enter proper number of iteration");
inline const QString kTooDeepMessage =
    QStringLiteral("Maxium number of iteration allowed for fractal is 20");

// The first half of each drawing button: the checks, which set iterationCount and read the panel
// into the map table, and say what to draw or why not. Each reads the panel once, so a refused
// panel is reported once.

// The "Number of Iteration:" text as a count: rounded to the nearest whole number, halves to
// even. Fails when the text is empty, not a number or outside 32 bits.
Result<std::int32_t> readIterationCount(const QString& text);

// "Blue Print": depth 1, then the panel.
Result<DrawingKind> checkBluePrint(Document& document);

// "Fractal": the count (kept in iterationCount even when refused as out of range), at most 20 and
// not negative, then the panel. The triangle while no pattern or the first one is selected, the
// square figure otherwise.
Result<DrawingKind> checkFractal(Document& document);

// "Chaos Game": the count, no upper limit (0 or less plots nothing), then the panel.
Result<DrawingKind> checkChaos(Document& document);

}  // namespace quill
