#include "core/movie/movie_setup.h"

#include "core/maps/pattern_catalogue.h"

namespace quill {

namespace {

const QString kPatternPrefix = QStringLiteral("pattern:");

}  // namespace

std::optional<int> keyPattern(const AnimationKey& key) {
  if (!key.source.startsWith(kPatternPrefix)) return std::nullopt;
  const QString name = key.source.mid(kPatternPrefix.size());
  for (int index = 0; index < kPatternCount; ++index) {
    if (kPatterns[std::size_t(index)].menuCaption.compare(name, Qt::CaseInsensitive) == 0) {
      return index;
    }
  }
  return std::nullopt;
}

QString patternSource(int index) {
  return kPatternPrefix + kPatterns[std::size_t(index)].menuCaption;
}

std::vector<DrawingKind> keyDrawingKinds(const std::vector<AnimationKey>& keys, DrawingKind kind) {
  std::vector<DrawingKind> kinds;
  if (kind == DrawingKind::ChaosGame || kind == DrawingKind::BluePrint) return kinds;
  for (const AnimationKey& key : keys) {
    const bool triangle = keyPattern(key).value_or(kSierpinskiPattern) == kSierpinskiPattern;
    kinds.push_back(triangle ? DrawingKind::TriangleFractal : DrawingKind::SquareFractal);
  }
  return kinds;
}

PictureRequest moviePicture(PictureRequest single, MovieFormat format) {
  single.record.clear();
  single.generatorState.reset();
  single.format = PictureFormat::Png8;
  if (format != MovieFormat::PngSequence) single.transparent = false;
  return single;
}

}  // namespace quill
