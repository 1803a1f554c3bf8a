#pragma once

#include <QString>

#include "core/base/result.h"
#include "core/picture/picture.h"
#include "core/picture/picture_record.h"

namespace quill {

struct Document;
class Canvas;

// What a picture rendered from `inputs` with `request` is drawn from: the maps and count the
// checks gave, the panel's caption and pattern chosen last, and the request's settings.
PictureRecord pictureRecordOf(const Document& document, const PictureInputs& inputs,
                              const PictureRequest& request);

// The record of a drawing on the canvas, about to be drawn from `inputs` with the generator at
// `generatorState`: the canvas's size, the drawing's colours, and whether the canvas holds
// earlier drawings.
PictureRecord canvasRecordOf(const Document& document, const PictureInputs& inputs,
                             const Canvas& canvas, std::uint64_t generatorState);

// The request that renders the picture a record describes again, in `format`.
PictureRequest requestOf(const PictureRecord& record, PictureFormat format);

// Opens a picture that Quillmere wrote: reads what it was drawn from, then puts its maps into the
// grid (each number as the shortest text that reads back as it, the rows below emptied), its
// caption and pattern into the panel, its count into "Number of Iteration:" (the blue print's
// leaves it), and its pen and paper as the drawing colours. Fails with readPictureRecord's
// message, changing nothing.
Result<PictureRecord> openPictureFrom(Document& document, const QString& path);

}  // namespace quill
