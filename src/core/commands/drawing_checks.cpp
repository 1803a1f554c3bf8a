#include "core/commands/drawing_checks.h"

#include "core/document/document.h"
#include "core/maps/number_text.h"
#include "core/maps/read_grid.h"

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

Result<DrawingOrder> withTheGrid(const PanelState& panel, DrawingKind kind,
                                 std::int32_t iterationCount) {
  Result<MapTable> maps = readGrid(panel);
  if (!maps) return Failure{maps.message()};
  return DrawingOrder{kind, iterationCount, std::move(maps.value())};
}

}  // namespace

Result<DrawingOrder> checkBluePrint(const PanelState& panel) {
  return withTheGrid(panel, DrawingKind::BluePrint, 1);
}

Result<DrawingOrder> checkFractal(const PanelState& panel, const QString& countText) {
  const Result<std::int32_t> count = readIterationCount(countText);
  if (!count) return Failure{count.message()};
  if (*count > kMaxFractalDepth) return Failure{kTooDeepMessage};
  // A negative depth has no figure to draw: the recursion would start below its first level.
  if (*count < 0) return Failure{kImproperCountMessage};
  const bool triangle = panel.selectedPattern.value_or(kSierpinskiPattern) == kSierpinskiPattern;
  return withTheGrid(panel, triangle ? DrawingKind::TriangleFractal : DrawingKind::SquareFractal,
                     *count);
}

Result<DrawingOrder> checkChaosGame(const PanelState& panel, const QString& countText) {
  const Result<std::int32_t> count = readIterationCount(countText);
  if (!count) return Failure{count.message()};
  return withTheGrid(panel, DrawingKind::ChaosGame, *count);
}

Result<DrawingOrder> checkDrawing(const PanelState& panel, PictureMode mode,
                                  const QString& countText) {
  switch (mode) {
    case PictureMode::BluePrint:
      return checkBluePrint(panel);
    case PictureMode::Fractal:
      return checkFractal(panel, countText);
    case PictureMode::ChaosGame:
      break;
  }
  return checkChaosGame(panel, countText);
}

Result<PictureInputs> checkPictureInputs(const Document& document, PictureMode mode,
                                         const QString& countText) {
  Result<DrawingOrder> order = checkDrawing(document.state, mode, countText);
  if (!order) return Failure{order.message()};
  PictureInputs inputs{document.drawing, order->kind};
  inputs.drawing.maps = order->maps;
  inputs.drawing.iterationCount = order->iterationCount;
  return inputs;
}

}  // namespace quill
