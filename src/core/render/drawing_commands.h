#pragma once

namespace quill {

struct Document;

// The three drawing buttons. Each runs its checks (a refusal shows its message and draws
// nothing), then hands the drawing to the document's runner as a job that owns copies of what it
// reads: the maps, the view, the colours, the generator and the picture so far. When the job
// ends, complete or cancelled, the picture, the generator's state and the current position come
// back, and the canvas is titled with the panel's caption and shown.
void drawBluePrint(Document& document);
void drawFractal(Document& document);
void drawChaosGame(Document& document);

}  // namespace quill
