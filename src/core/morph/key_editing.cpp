#include "core/morph/key_editing.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

#include "core/maps/number_text.h"
#include "core/maps/read_grid.h"

namespace quill {

namespace {

// A thousandth of a second: how close a moved key may come to its neighbour.
constexpr double kKeyGap = 0.001;

QString exactText(double value) {
  const QString text = numberToText(value);
  const std::optional<double> back = parseNumber(text);
  if (back && *back == value) return text;
  // Seventeen significant digits always read back as the same double.
  return QString::number(value, 'g', 17);
}

// The matchings keyed by segment after the segments from `from` on moved by `shift`, those in
// `dropped` left out.
std::map<int, Matching> shifted(const std::map<int, Matching>& matchings, int from, int shift,
                                std::initializer_list<int> dropped) {
  std::map<int, Matching> out;
  for (const auto& [segment, matching] : matchings) {
    if (std::find(dropped.begin(), dropped.end(), segment) != dropped.end()) continue;
    out[segment >= from ? segment + shift : segment] = matching;
  }
  return out;
}

}  // namespace

Result<std::vector<WeightedMap>> gridKeyMaps(const PanelState& state) {
  const Result<MapTable> table = readGrid(state);
  if (!table) return Failure{table.message()};
  if (table->mapCount == 0) return Failure{kNoMapsForKeyMessage};
  std::vector<WeightedMap> maps;
  for (int i = 1; i <= table->mapCount; ++i) {
    maps.push_back({{table->mapA[i], table->mapB[i], table->mapC[i], table->mapD[i], table->mapE[i],
                     table->mapF[i]},
                    table->mapP[i]});
  }
  return maps;
}

void putMapsInGrid(PanelState& state, const std::vector<WeightedMap>& maps) {
  state.clearGrid();
  const int count = std::min(int(maps.size()), kGridRows);
  for (int row = 1; row <= count; ++row) {
    const WeightedMap& m = maps[std::size_t(row - 1)];
    const double values[kColumnCount] = {m.map.a, m.map.b, m.map.c, m.map.d, m.map.e, m.map.f, m.p};
    for (int column = 0; column < kColumnCount; ++column) {
      state.cell(row, column) = exactText(values[column]);
    }
  }
}

int segmentCount(const Animation& animation) {
  const int keys = int(animation.keys.size());
  if (keys == 0) return 0;
  return animation.loop ? keys : keys - 1;
}

int insertKey(Animation& animation, AnimationKey key) {
  auto& keys = animation.keys;
  if (!keys.empty() && key.time <= keys.back().time) {
    const auto same = std::find_if(keys.begin(), keys.end(),
                                   [&](const AnimationKey& k) { return k.time == key.time; });
    if (same != keys.end()) key.time = keys.back().time + 1;
  }
  const auto place =
      std::upper_bound(keys.begin(), keys.end(), key.time,
                       [](double time, const AnimationKey& k) { return time < k.time; });
  const int index = int(place - keys.begin());
  const int oldLast = int(keys.size()) - 1;
  keys.insert(place, std::move(key));
  // The segment the key splits (index - 1), and the loop's closing one when it lands at an end.
  animation.matchings = shifted(animation.matchings, index, 1,
                                {index - 1, index == 0 || index > oldLast ? oldLast : -2});
  return index;
}

void removeKey(Animation& animation, int index) {
  auto& keys = animation.keys;
  if (index < 0 || index >= int(keys.size())) return;
  const int oldLast = int(keys.size()) - 1;
  keys.erase(keys.begin() + index);
  animation.matchings = shifted(animation.matchings, index + 1, -1, {index - 1, index, oldLast});
}

std::pair<double, double> keyTimeRange(const Animation& animation, int index) {
  const auto& keys = animation.keys;
  const double low = index > 0 ? keys[std::size_t(index - 1)].time + kKeyGap : -1e6;
  const double high =
      index + 1 < int(keys.size()) ? keys[std::size_t(index + 1)].time - kKeyGap : 1e6;
  return {low, std::max(low, high)};
}

QString matchingText(const Matching& matching) {
  QStringList pairs;
  for (const MapPair& pair : matching) {
    pairs << QStringLiteral("%1→%2").arg(pair.earlier + 1).arg(pair.later + 1);
  }
  return pairs.join(QStringLiteral(", "));
}

Result<Matching> readMatchingText(const QString& text) {
  static const QRegularExpression pairPattern(
      QStringLiteral(R"((\d{1,2})\s*(?:→|->|-)\s*(\d{1,2}))"));
  static const QRegularExpression separatorsOnly(QStringLiteral(R"(^[\s,;]*$)"));
  Matching matching;
  QString rest = text;
  auto found = pairPattern.globalMatch(text);
  while (found.hasNext()) {
    const QRegularExpressionMatch pair = found.next();
    const int earlier = pair.captured(1).toInt(), later = pair.captured(2).toInt();
    if (earlier < 1 || later < 1) return Failure{kMatchingTextMessage};
    matching.push_back({earlier - 1, later - 1});
    rest.replace(pair.capturedStart(), pair.capturedLength(), QString(pair.capturedLength(), u' '));
  }
  if (matching.empty() || !separatorsOnly.match(rest).hasMatch()) {
    return Failure{kMatchingTextMessage};
  }
  return matching;
}

}  // namespace quill
