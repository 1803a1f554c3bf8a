#pragma once

#include <QCoreApplication>
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
    {QT_TRANSLATE_NOOP("Patterns", "Sierpinski"), QT_TRANSLATE_NOOP("Patterns", "Sierpinski"),
     "Sierpinski.dat", 3},
    {QT_TRANSLATE_NOOP("Patterns", "Christmas Tree"),
     QT_TRANSLATE_NOOP("Patterns", "Christmas Tree"), "ChristmasT.dat", 3},
    {QT_TRANSLATE_NOOP("Patterns", "Dragon"), QT_TRANSLATE_NOOP("Patterns", "Dragon"), "Dragon.dat",
     3},
    {QT_TRANSLATE_NOOP("Patterns", "Cantor Maze"), QT_TRANSLATE_NOOP("Patterns", "Cantor"),
     "Cantor.dat", 3},
    {QT_TRANSLATE_NOOP("Patterns", "Twig"), QT_TRANSLATE_NOOP("Patterns", "Twig"), "Twig.dat", 3},
    {QT_TRANSLATE_NOOP("Patterns", "Crystal4"), QT_TRANSLATE_NOOP("Patterns", "Crystal4"),
     "Crystal4.dat", 4},
    {QT_TRANSLATE_NOOP("Patterns", "Crystal5"), QT_TRANSLATE_NOOP("Patterns", "Crystal5"),
     "Crystal5.dat", 5},
    {QT_TRANSLATE_NOOP("Patterns", "Tree"), QT_TRANSLATE_NOOP("Patterns", "Tree"), "Tree.dat", 5},
    {QT_TRANSLATE_NOOP("Patterns", "Fern"), QT_TRANSLATE_NOOP("Patterns", "Fern"), "Fern.dat", 4},
    {QT_TRANSLATE_NOOP("Patterns", "Koch"), QT_TRANSLATE_NOOP("Patterns", "Koch"), "Koch.dat", 4},
    {QT_TRANSLATE_NOOP("Patterns", "Square Koch"), QT_TRANSLATE_NOOP("Patterns", "Square Koch"),
     "SKoch.dat", 5},
    {QT_TRANSLATE_NOOP("Patterns", "User"), "", "", 0},
}};

// A pattern's caption in the user's language, for the menus and the panel's caption; the stored
// caption (in parameter files and pictures) stays the source text. Any other caption, a file's
// name say, comes back as it is.
inline QString patternCaption(const QString& caption) {
  return QCoreApplication::translate("Patterns", caption.toUtf8().constData());
}

}  // namespace quill
