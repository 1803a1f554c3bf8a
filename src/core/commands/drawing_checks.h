#pragma once

#include <QString>
#include <cstdint>

#include "core/base/result.h"
#include "core/maps/drawing_state.h"
#include "core/maps/map_table.h"
#include "core/maps/panel_state.h"
#include "core/picture/picture.h"
#include "core/render/drawing.h"

namespace quill {

struct Document;

inline const QString kEmptyCountMessage = QStringLiteral(
    QT_TRANSLATE_NOOP("Messages", "Please enter a value for the number of iteration"));
inline const QString kImproperCountMessage =
    QStringLiteral(QT_TRANSLATE_NOOP("Messages", "Please enter proper number of iteration"));
inline const QString kTooDeepMessage = QStringLiteral(
    QT_TRANSLATE_NOOP("Messages", "Maxium number of iteration allowed for fractal is 20"));

// The first half of each drawing command: the checks, in the command's order, the count first
// and the grid after it. They read the panel's fields and the count text they are given and
// change nothing; a refusal comes back with its message, and the grid is read once, so a refused
// grid is reported once.

// The "Number of Iteration:" text as a count: rounded to the nearest whole number, halves to
// even. Fails when the text is empty, not a number or outside 32 bits.
Result<std::int32_t> readIterationCount(const QString& text);

// What a drawing command draws once its checks have passed.
struct DrawingOrder {
  DrawingKind kind = DrawingKind::BluePrint;
  std::int32_t iterationCount = 0;  // the fractal's depth, the chaos game's points; 1 otherwise
  MapTable maps;                    // the grid, read
};

// "Blue Print": depth 1, then the grid.
Result<DrawingOrder> checkBluePrint(const PanelState& panel);

// "Fractal": the count, at most 20 and not negative, then the grid. The triangle while no pattern
// or the first one is selected, the square figure otherwise.
Result<DrawingOrder> checkFractal(const PanelState& panel, const QString& countText);

// "Chaos Game": the count, no upper limit (0 or less plots nothing), then the grid.
Result<DrawingOrder> checkChaosGame(const PanelState& panel, const QString& countText);

// The checks of the command that draws `mode`; the blue print ignores the count.
Result<DrawingOrder> checkDrawing(const PanelState& panel, PictureMode mode,
                                  const QString& countText);

// The checks of the command that draws `mode`, with `countText` as the count, and the document's
// drawing state (square, colours) with the order's maps and count: what a picture is rendered
// from. The document does not change.
Result<PictureInputs> checkPictureInputs(const Document& document, PictureMode mode,
                                         const QString& countText);

}  // namespace quill
