#pragma once

#include <QString>
#include <vector>

#include "core/base/result.h"
#include "core/maps/map_table.h"
#include "core/maps/panel_state.h"
#include "core/maps/weighted_map.h"

namespace quill {

inline const QString kEmptyFieldMessage =
    QStringLiteral(QT_TRANSLATE_NOOP("Messages", "Required parameter value cannot be empty."));
inline const QString kInvalidValueMessage =
    QStringLiteral(QT_TRANSLATE_NOOP("Messages", "Invalid parameter value."));

// The grid's one set of reading rules, shared by every command that reads it and by the map
// editor. Nothing here changes the panel or shows a message.

// How many maps the grid holds: the rows above the first empty a field. Only the a column
// decides; the rows below it are ignored whatever they hold.
int gridMapCount(const PanelState& state);

// Row `row` (1 to 10) as a map. Fails with kEmptyFieldMessage when any of its seven fields is
// empty, otherwise with kInvalidValueMessage when a text is not a number or too large for a
// double ("1e999": an infinite coefficient would only draw nonsense).
Result<WeightedMap> readGridRow(const PanelState& state, int row);

// The maps as a map table, as readGrid builds it from rows it has read: the maps in rows 1 on
// (at most kMaxMaps are taken), each cumulative p the running sum, 0 for a row whose p is 0.
MapTable mapTableOf(const std::vector<WeightedMap>& maps);

// The grid as a map table: gridMapCount maps in rows 1 on, each read by readGridRow, with the
// running sums of p; slot 0, the rows above the count and slot 11 hold 0. Fails with the message
// of the first row that does not read, in row order.
Result<MapTable> readGrid(const PanelState& state);

}  // namespace quill
