#include "core/morph/map_matching.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <limits>

#include "core/morph/polar_split.h"

namespace quill {

namespace {

// Far beyond the distance of any two maps a user would morph, so that a matching turns a map
// over only where every matching must.
constexpr double kTurnOverPenalty = 1e6;

// Costs of every pair, the larger key's maps in rows: each row is matched to one column and every
// column is matched at least once.
struct CostTable {
  int rows = 0, columns = 0;
  bool earlierIsRows = false;
  std::vector<double> cost;
  double at(int row, int column) const { return cost[std::size_t(row * columns + column)]; }
};

CostTable costTable(const std::vector<WeightedMap>& earlier,
                    const std::vector<WeightedMap>& later) {
  CostTable table;
  table.earlierIsRows = earlier.size() > later.size();
  const auto& rows = table.earlierIsRows ? earlier : later;
  const auto& columns = table.earlierIsRows ? later : earlier;
  table.rows = int(rows.size());
  table.columns = int(columns.size());
  for (const WeightedMap& row : rows) {
    for (const WeightedMap& column : columns) {
      table.cost.push_back(table.earlierIsRows ? pairCost(row.map, column.map)
                                               : pairCost(column.map, row.map));
    }
  }
  return table;
}

// Branch and bound over every row's column, keeping only choices that can still cover every
// column.
class ExhaustiveSearch {
 public:
  explicit ExhaustiveSearch(const CostTable& table)
      : table_(table), choice_(std::size_t(table.rows)), uses_(std::size_t(table.columns)) {}

  std::vector<int> best() {
    visit(0, 0.0, table_.columns);
    return best_;
  }

 private:
  void visit(int row, double cost, int uncovered) {
    if (cost >= bestCost_) return;
    if (row == table_.rows) {
      bestCost_ = cost;
      best_ = choice_;
      return;
    }
    const bool mustCover = table_.rows - row == uncovered;
    for (int column = 0; column < table_.columns; ++column) {
      int& uses = uses_[std::size_t(column)];
      if (mustCover && uses > 0) continue;
      choice_[std::size_t(row)] = column;
      ++uses;
      visit(row + 1, cost + table_.at(row, column), uncovered - (uses == 1 ? 1 : 0));
      --uses;
    }
  }

  const CostTable& table_;
  std::vector<int> choice_;
  std::vector<int> uses_;
  std::vector<int> best_;
  double bestCost_ = std::numeric_limits<double>::infinity();
};

// The cheapest pair left, again and again, keeping enough rows for the columns not yet covered.
std::vector<int> greedyChoice(const CostTable& table) {
  std::vector<int> choice(std::size_t(table.rows), -1);
  std::vector<bool> covered(std::size_t(table.columns), false);
  int rowsLeft = table.rows, uncovered = table.columns;
  while (rowsLeft > 0) {
    const bool mustCover = rowsLeft == uncovered;
    int bestRow = -1, bestColumn = -1;
    for (int row = 0; row < table.rows; ++row) {
      if (choice[std::size_t(row)] >= 0) continue;
      for (int column = 0; column < table.columns; ++column) {
        if (mustCover && covered[std::size_t(column)]) continue;
        if (bestRow < 0 || table.at(row, column) < table.at(bestRow, bestColumn)) {
          bestRow = row;
          bestColumn = column;
        }
      }
    }
    choice[std::size_t(bestRow)] = bestColumn;
    if (!covered[std::size_t(bestColumn)]) --uncovered;
    covered[std::size_t(bestColumn)] = true;
    --rowsLeft;
  }
  return choice;
}

}  // namespace

double pairCost(const PlaneMap& from, const PlaneMap& to) {
  const double distance = std::hypot(std::hypot(to.a - from.a, to.b - from.b, to.c - from.c),
                                     std::hypot(to.d - from.d, to.e - from.e, to.f - from.f));
  return turnSign(from) * turnSign(to) < 0 ? distance + kTurnOverPenalty : distance;
}

double matchingCost(const std::vector<WeightedMap>& earlier, const std::vector<WeightedMap>& later,
                    const Matching& matching) {
  double cost = 0;
  for (const MapPair& pair : matching) {
    cost += pairCost(earlier[std::size_t(pair.earlier)].map, later[std::size_t(pair.later)].map);
  }
  return cost;
}

Matching matchMaps(const std::vector<WeightedMap>& earlier, const std::vector<WeightedMap>& later) {
  const CostTable table = costTable(earlier, later);
  const std::vector<int> choice = table.rows <= kMostMapsMatchedExhaustively
                                      ? ExhaustiveSearch(table).best()
                                      : greedyChoice(table);
  Matching matching;
  for (int row = 0; row < table.rows; ++row) {
    const int column = choice[std::size_t(row)];
    matching.push_back(table.earlierIsRows ? MapPair{row, column} : MapPair{column, row});
  }
  std::sort(matching.begin(), matching.end(), [](const MapPair& x, const MapPair& y) {
    return x.earlier != y.earlier ? x.earlier < y.earlier : x.later < y.later;
  });
  return matching;
}

Status checkMatching(const Matching& matching, int earlierCount, int laterCount) {
  const int larger = std::max(earlierCount, laterCount);
  if (int(matching.size()) != larger) {
    return Failure{
        QCoreApplication::translate("Messages",
                                    "A matching of these keys needs %1 pairs, one for each map "
                                    "of the key with more maps; it has %2.")
            .arg(larger)
            .arg(matching.size())};
  }
  std::vector<bool> earlierUsed(std::size_t(earlierCount), false);
  std::vector<bool> laterUsed(std::size_t(laterCount), false);
  for (const MapPair& pair : matching) {
    if (pair.earlier < 0 || pair.earlier >= earlierCount || pair.later < 0 ||
        pair.later >= laterCount) {
      return Failure{
          QCoreApplication::translate("Messages",
                                      "The matching pairs map %1 with map %2, but the keys have "
                                      "%3 and %4 maps.")
              .arg(pair.earlier + 1)
              .arg(pair.later + 1)
              .arg(earlierCount)
              .arg(laterCount)};
    }
    earlierUsed[std::size_t(pair.earlier)] = true;
    laterUsed[std::size_t(pair.later)] = true;
  }
  const auto missing = [](const std::vector<bool>& used) {
    return int(std::find(used.begin(), used.end(), false) - used.begin()) + 1;
  };
  if (missing(earlierUsed) <= earlierCount) {
    return Failure{QCoreApplication::translate("Messages",
                                               "The matching leaves out map %1 of the earlier key.")
                       .arg(missing(earlierUsed))};
  }
  if (missing(laterUsed) <= laterCount) {
    return Failure{
        QCoreApplication::translate("Messages", "The matching leaves out map %1 of the later key.")
            .arg(missing(laterUsed))};
  }
  return {};
}

}  // namespace quill
