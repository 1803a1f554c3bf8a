#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

#include "core/base/chaos_random.h"
#include "core/base/render_control.h"
#include "core/maps/module1.h"
#include "core/maps/panel_state.h"
#include "core/render/chaos_game.h"
#include "core/render/frame.h"
#include "core/render/square_figure.h"
#include "core/render/surface.h"
#include "core/render/triangle_figure.h"

namespace quill {

class Dialogs;

// The three drawing buttons come in two halves, so that the drawing can run away from the
// user-interface thread: the checks (messages, reading the panel, iterationCount), which say what
// to draw or show a message and say nothing; and drawOn, which draws it from the shared state.

enum class Drawing { BluePrint, TriangleFractal, SquareFractal, ChaosGame };

inline constexpr std::int32_t kMaxFractalDepth = 20;

inline const QString kEmptyCountMessage =
    QStringLiteral("Please enter a value for the number of iteration");
inline const QString kImproperCountMessage =
    QStringLiteral("Please enter proper number of iteration");
inline const QString kTooDeepMessage =
    QStringLiteral("Maxium number of iteration allowed for fractal is 20");

// Reads the map grid into the map table; false after its message.
using ReadPanelFunction = std::function<bool()>;

// The "Number of Iteration:" text as a count: rounded to the nearest whole number, halves to
// even. Nothing, after a message, when the text is empty, not a number or outside 32 bits.
[[nodiscard]] std::optional<std::int32_t> readIterationCount(const QString& text, Dialogs& dialogs);

// "Blue Print": depth 1, then the panel. Nothing when the panel was refused.
[[nodiscard]] std::optional<Drawing> checkBluePrint(Module1& module1,
                                                    const ReadPanelFunction& readPanel);

// "Fractal": the count (kept in iterationCount even when refused as out of range), at most 20 and
// not negative, then the panel. The triangle while no pattern or the first one is selected, the
// square figure otherwise.
[[nodiscard]] std::optional<Drawing> checkFractal(const PanelState& state, Module1& module1,
                                                  Dialogs& dialogs,
                                                  const ReadPanelFunction& readPanel);

// "Chaos Game": the count, no upper limit (0 or less plots nothing), then the panel.
[[nodiscard]] std::optional<Drawing> checkChaos(const PanelState& state, Module1& module1,
                                                Dialogs& dialogs,
                                                const ReadPanelFunction& readPanel);

// Draws what a check asked for: the frame, then the figures or points, by the straightforward
// recursion and loop. labelImages is true only while the blue print draws. Returns false when
// cancelled; what was drawn stays.
template <DrawingSurface Surface>
bool drawReference(Surface& surface, Drawing drawing, Module1& module1, ChaosRandom& random,
                   const RenderControl& control) {
  DrawFrame(surface, module1);
  switch (drawing) {
    case Drawing::BluePrint: {
      module1.labelImages = true;
      const bool finished = DrawSquareFigure(surface, module1, control);
      module1.labelImages = false;
      return finished;
    }
    case Drawing::TriangleFractal:
      return DrawTriangleFigure(surface, module1, control);
    case Drawing::SquareFractal:
      return DrawSquareFigure(surface, module1, control);
    case Drawing::ChaosGame:
      return PlayChaosGame(surface, module1, random, control);
  }
  return true;
}

// Draws what a check asked for, as drawReference draws it.
template <DrawingSurface Surface>
bool drawOn(Surface& surface, Drawing drawing, Module1& module1, ChaosRandom& random,
            const RenderControl& control) {
  return drawReference(surface, drawing, module1, random, control);
}

// On a canvas: the same picture, pixel for pixel, through the fast renderers on every core
// (drawFast in fast_drawing.h).
bool drawOn(Canvas& canvas, Drawing drawing, Module1& module1, ChaosRandom& random,
            const RenderControl& control);

}  // namespace quill
