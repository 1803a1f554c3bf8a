#pragma once

namespace quill {

struct Document;

// "Load Parameters": asks for a file, reads and checks it whole, and only then empties the grid
// and fills it with the file's rows (and their numbers into the map table). A refused file shows
// its message and changes nothing; Cancel does nothing.
void loadParameters(Document& document);

// "Save Parameters": asks for a file name, reads the panel (its refusal leaves any file as it
// was), and writes the saved layout through the document's file writer.
void saveParameters(Document& document);

}  // namespace quill
