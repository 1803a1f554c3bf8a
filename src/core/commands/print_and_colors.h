#pragma once

#include "core/base/color.h"
#include "core/base/result.h"

namespace quill {

struct Document;

// Prints the canvas on white, one page on the default printer; the paper colour stays for later
// drawings and the canvas keeps its white background. Fails with the printer's message.
Status printCanvas(Document& document);

// The pen colour of the next drawings; what is drawn stays.
void setPenColour(Document& document, Rgb colour);
// The paper colour, and the canvas's background at once; what is drawn stays.
void setPaperColour(Document& document, Rgb colour);

// "Print Picture": printCanvas, no dialog, showing its failure.
void printPicture(Document& document);

// "ForeColor" and "BackColor": the colour dialog, starting from the colour it last gave, then
// setPenColour or setPaperColour. Cancel changes nothing.
void choosePenColour(Document& document);
void choosePaperColour(Document& document);

}  // namespace quill
