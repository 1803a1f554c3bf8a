#include "core/commands/open_picture.h"

#include <QLocale>

#include "core/base/version.h"
#include "core/canvas/canvas.h"
#include "core/commands/print_and_colors.h"
#include "core/document/document.h"
#include "core/picture/picture_carrier.h"

namespace quill {

namespace {

// The shortest text that reads back as the very number, so the grid draws what the picture did.
QString exactText(double value) {
  return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

std::vector<WeightedMap> mapsOf(const MapTable& table) {
  std::vector<WeightedMap> maps;
  for (int i = 1; i <= table.mapCount; ++i) {
    maps.push_back(
        {{table.mapA[i], table.mapB[i], table.mapC[i], table.mapD[i], table.mapE[i], table.mapF[i]},
         table.mapP[i]});
  }
  return maps;
}

}  // namespace

PictureRecord pictureRecordOf(const Document& document, const PictureInputs& inputs,
                              const PictureRequest& request) {
  PictureRecord record;
  record.mode = pictureModeOf(inputs.kind);
  record.count = record.mode == PictureMode::BluePrint ? 0 : inputs.drawing.iterationCount;
  record.caption = document.state.caption;
  record.pattern = document.state.selectedPattern;
  record.maps = mapsOf(inputs.drawing.maps);
  record.width = request.width;
  record.height = request.height;
  record.pen = request.pen;
  record.paper = request.paper;
  record.shading = request.shading;
  record.gamma = request.gamma;
  record.tone = request.tone;
  record.gammaThreshold = request.gammaThreshold;
  record.transparent = request.transparent;
  record.supersample = request.supersample;
  // The colours that shade the picture, the palette's own left out: the program and
  // quillmere-render describe the same picture alike.
  if (request.shading == Shading::ByMap) {
    const std::vector<Rgb> palette = defaultMapColours();
    record.mapColours = request.mapColours;
    while (!record.mapColours.empty() && record.mapColours.size() <= palette.size() &&
           record.mapColours.back() == palette[record.mapColours.size() - 1]) {
      record.mapColours.pop_back();
    }
  }
  record.depth16 = request.format == PictureFormat::Png16;
  record.seed = request.seed;
  record.generatorState = request.generatorState;
  record.programVersion = programVersion();
  return record;
}

PictureRecord canvasRecordOf(const Document& document, const PictureInputs& inputs,
                             const Canvas& canvas, std::uint64_t generatorState) {
  PictureRequest request;
  request.width = canvas.widthPixels();
  request.height = canvas.heightPixels();
  request.pen = inputs.drawing.penColor;
  request.paper = inputs.drawing.paperColor;
  if (inputs.kind == DrawingKind::ChaosGame) request.generatorState = generatorState;
  PictureRecord record = pictureRecordOf(document, inputs, request);
  record.drawnOver = !canvas.isBlank();
  return record;
}

PictureRequest requestOf(const PictureRecord& record, PictureFormat format) {
  PictureRequest request;
  request.width = record.width;
  request.height = record.height;
  request.shading = record.shading;
  request.gamma = record.gamma;
  request.tone = record.tone;
  request.gammaThreshold = record.gammaThreshold;
  request.transparent = record.transparent;
  request.supersample = record.supersample;
  request.mapColours = record.mapColours;
  request.format = format;
  request.seed = record.seed;
  request.generatorState = record.generatorState;
  request.pen = record.pen;
  request.paper = record.paper;
  return request;
}

Result<PictureRecord> openPictureFrom(Document& document, const QString& path) {
  Result<PictureRecord> record = readPictureRecord(path);
  if (!record) return record;
  PanelState& state = document.state;
  state.clearGrid();
  for (std::size_t i = 0; i < record->maps.size(); ++i) {
    const WeightedMap& row = record->maps[i];
    const std::array<double, kColumnCount> values = {row.map.a, row.map.b, row.map.c, row.map.d,
                                                     row.map.e, row.map.f, row.p};
    for (int column = 0; column < kColumnCount; ++column) {
      state.cell(int(i) + 1, column) = exactText(values[std::size_t(column)]);
    }
  }
  state.caption = record->caption;
  state.selectedPattern = record->pattern;
  if (record->mode != PictureMode::BluePrint) state.countText = QString::number(record->count);
  setPenColour(document, record->pen);
  setPaperColour(document, record->paper);
  return record;
}

}  // namespace quill
