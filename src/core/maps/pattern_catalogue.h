#pragma once

#include <QString>
#include <array>

#include "core/maps/panel_state.h"

namespace quill {

// One entry of the pattern menus. The last entry, "User", has no preset file: choosing it only
// empties the grid.
struct PatternEntry {
  QString menuCaption;   // in both pattern menus
  QString panelCaption;  // the panel's caption after the choice; empty for "User" (unchanged)
  QString fileName;      // preset file in the program's directory; empty for "User"
  int mapCount;          // rows the preset file holds
};

inline const std::array<PatternEntry, kPatternCount> kPatterns = {{
    {"Sierpinski", "Sierpinski", "Sierpinski.dat", 3},
    {"Christmas Tree", "Christmas Tree", "ChristmasT.dat", 3},
    {"Dragon", "Dragon", "Dragon.dat", 3},
    {"Cantor Maze", "Cantor", "Cantor.dat", 3},
    {"Twig", "Twig", "Twig.dat", 3},
    {"Crystal4", "Crystal4", "Crystal4.dat", 4},
    {"Crystal5", "Crystal5", "Crystal5.dat", 5},
    {"Tree", "Tree", "Tree.dat", 5},
    {"Fern", "Fern", "Fern.dat", 4},
    {"Koch", "Koch", "Koch.dat", 4},
    {"Square Koch", "Square Koch", "SKoch.dat", 5},
    {"User", "", "", 0},
}};

}  // namespace quill
