#pragma once

namespace quill {

struct Document;

// "Print Picture": the canvas on white (paperColor stays for later drawings), one page on the
// default printer, no dialog; a failure shows the printer's message.
void printPicture(Document& document);

// "ForeColor" and "BackColor": the colour dialog, starting from the colour it last gave; the
// choice becomes the pen colour, or the paper colour and the canvas's background at once (what
// is drawn stays). Cancel changes nothing.
void choosePenColour(Document& document);
void choosePaperColour(Document& document);

}  // namespace quill
