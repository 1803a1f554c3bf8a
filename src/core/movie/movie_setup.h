#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "core/morph/animation.h"
#include "core/movie/movie_export.h"

namespace quill {

// The pattern a key was taken from, when its source names one ("pattern:Fern", any case).
std::optional<int> keyPattern(const AnimationKey& key);

// The source that names pattern `index` (of the pattern menu).
QString patternSource(int index);

// The fractal's figure of each key, as the Fractal button draws it with the key's pattern
// selected: the triangle for Sierpinski and for keys of no pattern, the square otherwise. Empty
// for the blue print and the chaos game, which draw every key alike.
std::vector<DrawingKind> keyDrawingKinds(const std::vector<AnimationKey>& keys, DrawingKind kind);

// A movie's picture settings from a single picture's: the same size, shading, tone, colours and
// seed, 8 bits a channel. A PNG sequence keeps a transparent paper; GIF and MP4 frames have no
// alpha and are drawn on the paper. No frame carries the single picture's record or a canvas's
// generator state.
PictureRequest moviePicture(PictureRequest single, MovieFormat format);

}  // namespace quill
