#pragma once

#include <QString>
#include <QStringList>
#include <span>

namespace quill {

// The p column's texts for "p ∝ |det|": p_i = map i's share under detShares,
// written with as few decimals as keep every share above zero (three at least, as the presets' p
// are). The decimal texts add up to exactly 1: each share is rounded to whole units of the last
// decimal and the rounding's remainder goes to the largest. One map gets "1"; no maps, none.
QStringList detProportionalTexts(std::span<const double> dets);

// The p column's texts for shares in proportion to `weights` (each finite and at least 0, their
// sum above 0), written as detProportionalTexts writes them: decimal texts adding up to exactly 1.
QStringList proportionalTexts(std::span<const double> weights);

// What "Set p ∝ |det|" says when the p column holds those shares already, and writes nothing.
inline const QString kAlreadyDetProportionalMessage =
    QStringLiteral(QT_TRANSLATE_NOOP("Messages", "p is already proportional to |det|."));

// Whether the p values `current` are the numbers of `texts` already, one for one: writing the
// texts would change no map's p.
bool sameProbabilities(std::span<const double> current, const QStringList& texts);

}  // namespace quill
