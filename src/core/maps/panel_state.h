#pragma once

#include <QString>
#include <array>
#include <optional>

namespace quill {

// Columns of the map grid, in the order of the panel and of the parameter files.
enum Column { kColA = 0, kColB, kColC, kColD, kColE, kColF, kColP, kColumnCount };

inline constexpr int kGridRows = 10;
inline constexpr int kComputeFieldCount = 5;

// The entries of both pattern menus, by their index in the menu: eleven presets and "User".
enum Pattern : int {
  kSierpinskiPattern = 0,
  kChristmasTreePattern,
  kDragonPattern,
  kCantorMazePattern,
  kTwigPattern,
  kCrystal4Pattern,
  kCrystal5Pattern,
  kTreePattern,
  kFernPattern,
  kKochPattern,
  kSquareKochPattern,
  kUserPattern,
  kPatternCount
};

// Everything the control panel holds, without widgets: the text of every field, the caption and
// the panel's form-level values. The Qt panel shows and edits this state; every command reads
// and writes it, so commands run the same in tests and in the headless renderer.
struct PanelState {
  QString caption;

  QString countText;                                      // "Number of Iteration:"
  std::array<QString, kComputeFieldCount> computeFields;  // r, s, angle 1, angle 2, i
  // The map grid: the columns a to p, each indexed by row 1 to 10 (index 0 unused).
  std::array<std::array<QString, kGridRows + 1>, kColumnCount> grid;

  QString& cell(int row, int column) { return grid[column][row]; }
  const QString& cell(int row, int column) const { return grid[column][row]; }

  // Empties the seventy map fields (rows 1 to 10 of every column).
  void clearGrid() {
    for (auto& column : grid) {
      for (int row = 1; row <= kGridRows; ++row) column[row].clear();
    }
  }

  // Last accepted inputs of "Compute Parameters": r, s and the two angles in degrees, and i.
  double workR = 0;
  double workS = 0;
  double workAngle1 = 0;
  double workAngle2 = 0;
  int workIndex = 0;

  // Index of the pattern menu entry chosen last; empty until the first choice.
  std::optional<int> selectedPattern;
  // One flag per pattern menu entry: its preset file has been read whole.
  std::array<bool, kPatternCount> patternLoaded{};
};

}  // namespace quill
