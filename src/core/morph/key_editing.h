#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "core/base/result.h"
#include "core/maps/panel_state.h"
#include "core/morph/animation.h"

namespace quill {

inline const QString kNoMapsForKeyMessage =
    QStringLiteral(QT_TRANSLATE_NOOP("Messages", "The grid holds no map to take as a key."));
inline const QString kMatchingTextMessage = QStringLiteral(
    QT_TRANSLATE_NOOP("Messages", "Write the matching as pairs of map numbers: 1→2, 2→1, 3→3."));

// What the Animation window does to the keys, apart from its widgets.

// The grid's maps as a key takes them: read as the drawing commands read them, with their
// messages; an empty grid has no key to give.
Result<std::vector<WeightedMap>> gridKeyMaps(const PanelState& state);

// Puts `maps` into the grid's rows 1 on and empties the rows below. Each number is written as the
// program writes numbers unless that text would read back as another double; then with as many
// digits as it takes, so that a key put back draws exactly what the key holds.
void putMapsInGrid(PanelState& state, const std::vector<WeightedMap>& maps);

// A key added at `time` (after the last when a key is already there), in the order of the
// times; the user's matchings of the segments it splits are dropped. Its index.
int insertKey(Animation& animation, AnimationKey key);

// Removes key `index`; the matchings of the segments it ended or began are dropped and the later
// ones keep their keys.
void removeKey(Animation& animation, int index);

// The earliest and latest time key `index` may move to and stay in its place: strictly between
// its neighbours' times (a step of a thousandth of a second away).
std::pair<double, double> keyTimeRange(const Animation& animation, int index);

// "1→2, 2→1, 3→3": the pairs counted from 1, as the user sees the maps.
QString matchingText(const Matching& matching);
// The user's text back as pairs: "1→2", "1->2" or "1-2", separated by commas or blanks. Fails
// with kMatchingTextMessage when the text is not such pairs; whether they fit the keys is for
// checkMatching.
Result<Matching> readMatchingText(const QString& text);

// The number of segments: key to key, and the last back to the first when looping.
int segmentCount(const Animation& animation);

}  // namespace quill
