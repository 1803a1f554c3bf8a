#pragma once

#include <QString>
#include <span>
#include <vector>

#include "core/base/result.h"
#include "core/maths/attractor_box.h"

namespace quill {

// The maps conjugated by the similarity T (one scale s, one translation) that puts the attractor's
// box, centred, inside the unit square with a margin of 2 % of its side: T∘f∘T⁻¹ keeps a, b, c, d
// and changes only e and f (e' = s·e − A·t + t in vector form), so the attractor becomes T of the
// old one. The new e and f are rounded to 1e-12 of the square's side. Fails with
// kNoAttractorMessage when the maps do not contract (no attractor, hence no box).
inline const QString kNoAttractorMessage = QStringLiteral(QT_TRANSLATE_NOOP(
    "Messages", "These maps do not contract, so they have no attractor to fit into the square."));
// Fails with this when the attractor is so far out or so small that the fitted maps would not be
// finite numbers.
inline const QString kCannotFitMessage = QStringLiteral(
    QT_TRANSLATE_NOOP("Messages", "These maps reach too far to fit into the square."));

// The share of the square's side that the attractor's longer side fills after fitting.
inline constexpr double kFittedSide = 0.96;

// The box is attractorBox's, or for maps that contract only once one axis is rescaled (a map of
// stretch exactly 1 whose square contracts) rescaledAttractorBoxBounds's outer box. An attractor
// that is a single point (every map sharing one fixed point) is moved to the square's centre at
// its own scale.
Result<std::vector<PlaneMap>> fitToSquare(std::span<const PlaneMap> maps);

}  // namespace quill
