#include "core/document/dialogs.h"
#include "core/maps/number_text.h"
#include "core/render/drawing_commands.h"

namespace quill {

std::optional<std::int32_t> readIterationCount(const QString& text, Dialogs& dialogs) {
  if (text.isEmpty()) {
    dialogs.message(kEmptyCountMessage);
    return std::nullopt;
  }
  if (!looksNumeric(text)) {
    dialogs.message(kImproperCountMessage);
    return std::nullopt;
  }
  // A number beyond the 32-bit range ("1e10", "1e999") cannot be a count either.
  std::optional<std::int32_t> count;
  if (const std::optional<double> value = parseNumber(text)) count = roundToInt32(*value);
  if (!count) dialogs.message(kImproperCountMessage);
  return count;
}

std::optional<Drawing> checkBluePrint(Module1& module1, const ReadPanelFunction& readPanel) {
  module1.iterationCount = 1;
  if (!readPanel()) return std::nullopt;
  return Drawing::BluePrint;
}

std::optional<Drawing> checkFractal(const PanelState& state, Module1& module1, Dialogs& dialogs,
                                    const ReadPanelFunction& readPanel) {
  const std::optional<std::int32_t> count = readIterationCount(state.Text1, dialogs);
  if (!count) return std::nullopt;
  module1.iterationCount = *count;
  if (*count > kMaxFractalDepth) {
    dialogs.message(kTooDeepMessage);
    return std::nullopt;
  }
  // A negative depth has no figure to draw: the recursion would start below its first level.
  if (*count < 0) {
    dialogs.message(kImproperCountMessage);
    return std::nullopt;
  }
  if (!readPanel()) return std::nullopt;
  const bool triangle = state.selectedPattern.value_or(0) == 0;
  return triangle ? Drawing::TriangleFractal : Drawing::SquareFractal;
}

std::optional<Drawing> checkChaos(const PanelState& state, Module1& module1, Dialogs& dialogs,
                                  const ReadPanelFunction& readPanel) {
  const std::optional<std::int32_t> count = readIterationCount(state.Text1, dialogs);
  if (!count) return std::nullopt;
  module1.iterationCount = *count;
  if (!readPanel()) return std::nullopt;
  return Drawing::ChaosGame;
}

}  // namespace quill
