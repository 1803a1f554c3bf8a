#pragma once

#include <functional>

#include "core/base/result.h"
#include "core/picture/picture.h"

namespace quill {

struct Document;

// Called once a drawing job has ended: a success (complete or cancelled) or the failure that
// stopped it (no memory, no thread).
using DrawingEnded = std::function<void(const Status&)>;

// Draws on the canvas what the command for `mode` draws, with the count the panel holds. The
// checks first: a refusal comes back with its message and nothing is drawn. A count that reads
// as a whole number stays the document's iterationCount even so (the blue print's is 1), as the
// panel has always kept it. Then the grid's maps become the document's table and the drawing
// goes to the document's runner as a job owning copies of what it reads: the maps, the view, the
// colours, the generator and the picture so far. When the job ends, complete or cancelled, the
// picture, the generator's state and the recursion level come back, and the canvas is titled
// with the panel's caption and shown; `ended` then hears how it went. No room for the job's copy
// of the picture fails at once with kNoMemoryMessage.
Status drawOnCanvas(Document& document, PictureMode mode, DrawingEnded ended = {});

// The three drawing buttons: drawOnCanvas, showing a refusal or a failed job.
void drawBluePrint(Document& document);
void drawFractal(Document& document);
void drawChaosGame(Document& document);

}  // namespace quill
