#include "headless/from_picture.h"

namespace quill::headless {

namespace {

Mode modeOf(PictureMode mode) {
  switch (mode) {
    case PictureMode::BluePrint:
      return Mode::BluePrint;
    case PictureMode::Fractal:
      return Mode::Fractal;
    case PictureMode::ChaosGame:
      break;
  }
  return Mode::Chaos;
}

}  // namespace

Result<RenderOptions> withPictureSettings(const RenderOptions& options,
                                          const PictureRecord& record) {
  RenderOptions settings = options;
  if (settings.mode) settings.mode = modeOf(record.mode);
  settings.iterations = QString::number(record.count);
  settings.width = record.width;
  settings.height = record.height;
  settings.pen = record.pen;
  settings.paper = record.paper;
  settings.shading = record.shading;
  settings.gamma = record.gamma;
  settings.tone = record.tone;
  settings.gammaThreshold = record.gammaThreshold;
  settings.transparent = record.transparent;
  settings.supersample = record.supersample;
  settings.mapColours = record.mapColours;
  settings.seed = record.seed;
  settings.generatorState = record.generatorState;
  if (!settings.mode) return settings;

  const QString named =
      settings.format.isEmpty() ? settings.output : QStringLiteral("picture.") + settings.format;
  const std::optional<PictureFormat> format = pictureFormatFor(named, record.depth16);
  // 16 bits a channel where the file can hold them; BMP and JPEG keep their 8.
  settings.depth16 = record.depth16 && format == PictureFormat::Png16;
  const bool asCanvas = record.shading == Shading::Flat && record.supersample == 1 &&
                        !record.depth16 && record.seed == ChaosRandom::kSeed && !record.transparent;
  settings.renderToFile = !asCanvas || format == PictureFormat::Svg;
  if (format == PictureFormat::Svg && record.mode == PictureMode::ChaosGame) {
    return Failure{QStringLiteral(
        "The picture is a chaos game, drawn as PNG, BMP or JPEG only; name the output .png")};
  }
  if (settings.renderToFile && !format) {
    return Failure{QStringLiteral(
        "The picture's settings are written as .png, .bmp or .jpg (or .svg); name the output so")};
  }
  return settings;
}

}  // namespace quill::headless
