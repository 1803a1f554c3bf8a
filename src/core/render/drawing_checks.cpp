#include "core/render/drawing_checks.h"

#include "core/document/document.h"
#include "core/maps/number_text.h"
#include "core/panel/read_grid.h"

namespace quill {

Result<std::int32_t> readIterationCount(const QString& text) {
  if (text.isEmpty()) return Failure{kEmptyCountMessage};
  if (!looksNumeric(text)) return Failure{kImproperCountMessage};
  // A number beyond the 32-bit range ("1e10", "1e999") cannot be a count either.
  std::optional<std::int32_t> count;
  if (const std::optional<double> value = parseNumber(text)) count = roundToInt32(*value);
  if (!count) return Failure{kImproperCountMessage};
  return *count;
}

namespace {

Result<DrawingKind> afterReadingThePanel(Document& document, DrawingKind kind) {
  if (const Status read = readGrid(document); !read) return Failure{read.message()};
  return kind;
}

}  // namespace

Result<DrawingKind> checkBluePrint(Document& document) {
  document.drawing.iterationCount = 1;
  return afterReadingThePanel(document, DrawingKind::BluePrint);
}

Result<DrawingKind> checkFractal(Document& document) {
  const Result<std::int32_t> count = readIterationCount(document.state.countText);
  if (!count) return Failure{count.message()};
  document.drawing.iterationCount = *count;
  if (*count > kMaxFractalDepth) return Failure{kTooDeepMessage};
  // A negative depth has no figure to draw: the recursion would start below its first level.
  if (*count < 0) return Failure{kImproperCountMessage};
  const bool triangle =
      document.state.selectedPattern.value_or(kSierpinskiPattern) == kSierpinskiPattern;
  return afterReadingThePanel(document,
                              triangle ? DrawingKind::TriangleFractal : DrawingKind::SquareFractal);
}

Result<DrawingKind> checkChaos(Document& document) {
  const Result<std::int32_t> count = readIterationCount(document.state.countText);
  if (!count) return Failure{count.message()};
  document.drawing.iterationCount = *count;
  return afterReadingThePanel(document, DrawingKind::ChaosGame);
}

}  // namespace quill
