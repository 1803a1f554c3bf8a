#include "core/commands/ifs_commands.h"

#include <QFileInfo>
#include <algorithm>

#include "core/commands/show_if_failed.h"
#include "core/document/document.h"
#include "core/editor/table_maps.h"
#include "core/maps/number_text.h"
#include "core/maps/read_grid.h"
#include "core/maths/fit_to_square.h"
#include "core/params/ifs_text.h"

namespace quill {

namespace {

std::vector<PlaneMap> planeMaps(std::span<const WeightedMap> maps) {
  std::vector<PlaneMap> plane;
  for (const WeightedMap& m : maps) plane.push_back(m.map);
  return plane;
}

// The grid's maps, read as the drawing commands read them; they become the document's table.
Result<std::vector<WeightedMap>> gridMaps(Document& document) {
  const Result<MapTable> table = readGrid(document.state);
  if (!table) return Failure{table.message()};
  document.drawing.maps = *table;
  return weightedMaps(*table);
}

// The grid's maps for an export: an empty grid has nothing to export.
Result<std::vector<WeightedMap>> exportedMaps(Document& document) {
  Result<std::vector<WeightedMap>> maps = gridMaps(document);
  if (maps && maps->empty()) return Failure{kNoMapsToExportMessage};
  return maps;
}

// What Export asks before it writes onto an existing file; it warns when adding would replace an
// entry of the collection.
QString addOrReplaceQuestion(const QString& path, const QString& entryName) {
  QString question = QStringLiteral(
                         "%1 already exists.\nAdd the entry \"%2\" to the collection, or "
                         "replace the file?")
                         .arg(QFileInfo(path).fileName(), entryName);
  const Result<std::vector<IfsEntry>> entries = readIfsFile(path);
  if (const IfsEntry* same = entries ? findEntry(*entries, entryName) : nullptr) {
    question += QStringLiteral("\nAdding replaces the collection's entry \"%1\".").arg(same->name);
  }
  return question;
}

}  // namespace

void fillGrid(Document& document, std::span<const WeightedMap> maps) {
  MapTable& table = document.drawing.maps;
  PanelState& state = document.state;
  state.clearGrid();
  table.mapCount = int(std::min<std::size_t>(maps.size(), kMaxMaps));
  for (int i = 1; i <= table.mapCount; ++i) {
    const WeightedMap& m = maps[std::size_t(i - 1)];
    const double values[kColumnCount] = {m.map.a, m.map.b, m.map.c, m.map.d, m.map.e, m.map.f, m.p};
    double* columns[kColumnCount] = {table.mapA.data(), table.mapB.data(), table.mapC.data(),
                                     table.mapD.data(), table.mapE.data(), table.mapF.data(),
                                     table.mapP.data()};
    for (int column = 0; column < kColumnCount; ++column) {
      columns[column][i] = values[column];
      state.cell(i, column) = numberToText(values[column]);
    }
  }
}

Status loadIfsEntry(Document& document, const IfsEntry& entry, bool fit) {
  if (!entry.refusal.isEmpty()) return Failure{entry.refusal};
  std::vector<WeightedMap> maps = entry.maps;
  Status fitted;
  if (fit) {
    const Result<std::vector<PlaneMap>> inSquare = fitToSquare(planeMaps(maps));
    if (inSquare) {
      for (std::size_t i = 0; i < maps.size(); ++i) maps[i].map = (*inSquare)[i];
    } else {
      fitted = Failure{inSquare.message()};
    }
  }
  fillGrid(document, maps);
  PanelState& state = document.state;
  state.caption = entry.name;
  return fitted;
}

Status fitGridToSquare(Document& document) {
  const Result<std::vector<WeightedMap>> maps = gridMaps(document);
  if (!maps) return Failure{maps.message()};
  const Result<std::vector<PlaneMap>> fitted = fitToSquare(planeMaps(*maps));
  if (!fitted) return Failure{fitted.message()};
  for (std::size_t i = 0; i < fitted->size(); ++i) {
    document.state.cell(int(i) + 1, kColE) = numberToText((*fitted)[i].e);
    document.state.cell(int(i) + 1, kColF) = numberToText((*fitted)[i].f);
  }
  return {};
}

Status exportIfsTo(Document& document, const QString& path, ExportMode mode) {
  const Result<std::vector<WeightedMap>> maps = exportedMaps(document);
  if (!maps) return Failure{maps.message()};
  const QString& name = document.state.caption;
  if (mode == ExportMode::ReplaceFile) {
    return document.writeFile(path, ifsText(name, *maps), kIfsSaveMessages);
  }
  const Result<QByteArray> collection = collectionWithEntry(path, name, *maps);
  if (!collection) return Failure{collection.message()};
  return document.writeFile(path, *collection, kIfsSaveMessages);
}

void importIfs(Document& document) {
  const QString path = document.dialogs.openIfsFileName();
  if (path.isEmpty()) return;
  importIfsFrom(document, path);
}

void importIfsFrom(Document& document, const QString& path) {
  const Result<std::vector<IfsEntry>> entries = readIfsFile(path);
  if (!entries) {
    document.dialogs.message(entries.message());
    return;
  }
  // Also a file of one entry goes through the chooser: its "Fit into the square" is the user's
  // to see and change, not the last import's, used unseen.
  std::vector<EntryChoice> choices;
  for (const IfsEntry& entry : *entries) {
    // A refusal's last line says it best in a list: where the entry's numbers go wrong.
    choices.push_back(
        {entry.name, entry.mapCount, entry.refusal.section(u'\n', -1), entry.refusal});
  }
  const std::optional<int> index = document.dialogs.chooseEntry(choices, document.fitImports);
  if (!index || *index < 0 || std::size_t(*index) >= entries->size()) return;
  const IfsEntry& chosen = (*entries)[std::size_t(*index)];
  const Status loaded = loadIfsEntry(document, chosen, document.fitImports);
  showIfFailed(document.dialogs, loaded);
  if (loaded) noteFileUsed(document, path, chosen.name);
}

void exportIfs(Document& document) {
  const QString path = document.dialogs.saveIfsFileName();
  if (path.isEmpty()) return;
  // A grid that cannot be exported is refused before any question about the file.
  if (const Result<std::vector<WeightedMap>> maps = exportedMaps(document); !maps) {
    document.dialogs.message(maps.message());
    return;
  }
  ExportMode mode = ExportMode::ReplaceFile;
  if (QFileInfo(path).isFile()) {
    switch (document.dialogs.askAddOrReplace(
        addOrReplaceQuestion(path, ifsEntryName(document.state.caption)))) {
      case CollectionChoice::AddToCollection:
        mode = ExportMode::AddToCollection;
        break;
      case CollectionChoice::ReplaceFile:
        break;
      case CollectionChoice::Cancel:
        return;
    }
  }
  const Status exported = exportIfsTo(document, path, mode);
  showIfFailed(document.dialogs, exported);
  if (exported) noteFileUsed(document, path, ifsEntryName(document.state.caption));
}

void fitMapsToSquare(Document& document) {
  showIfFailed(document.dialogs, fitGridToSquare(document));
}

}  // namespace quill
