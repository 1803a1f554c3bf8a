#include "core/commands/fit_target.h"

#include "core/commands/ifs_commands.h"
#include "core/document/document.h"
#include "core/editor/table_maps.h"
#include "core/maps/read_grid.h"

namespace quill {

Result<std::vector<PlaneMap>> fitStartMaps(Document& document) {
  const Result<MapTable> table = readGrid(document.state);
  if (!table) return Failure{table.message()};
  std::vector<PlaneMap> maps;
  for (const WeightedMap& m : weightedMaps(*table)) maps.push_back(m.map);
  return maps;
}

Result<FitOutcome> fitGridToTarget(Document& document, const Target& target,
                                   const FitOptions& options, const RenderControl& control) {
  const Result<std::vector<PlaneMap>> start = fitStartMaps(document);
  if (!start) return Failure{start.message()};
  Result<FitOutcome> fitted = fitToTarget(target, *start, options, control);
  if (!fitted) return fitted;
  fillGrid(document, fitted->maps);
  return fitted;
}

}  // namespace quill
