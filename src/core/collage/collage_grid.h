#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace quill {

// A square raster over the plane of the maps: the unit square at `resolution` cells per unit,
// with `margin` cells more beyond each side, so that what a map throws a little outside the
// square is still seen. Cell (i, j), row j counted from the top, covers
// x in [(i − margin) / resolution, (i − margin + 1) / resolution) and
// y in (1 − (j − margin + 1) / resolution, 1 − (j − margin) / resolution].
struct CollageGrid {
  int resolution = 512;
  int margin = 256;

  int side() const { return resolution + 2 * margin; }
  std::int64_t cellCount() const { return std::int64_t(side()) * side(); }
  double cellSize() const { return 1.0 / resolution; }

  // The column and row holding (x, y), as doubles: floor them for the cell (they may lie outside
  // the grid). One product each, so every caller rounds alike.
  double column(double x) const { return x * resolution + margin; }
  double row(double y) const { return (1 - y) * resolution + margin; }
  // The centre of a cell.
  double centreX(int i) const { return (i - margin + 0.5) / resolution; }
  double centreY(int j) const { return 1 - (j - margin + 0.5) / resolution; }

  friend bool operator==(const CollageGrid&, const CollageGrid&) = default;
};

// A rectangle of cells: columns x to x + width − 1, rows y to y + height − 1. Empty when width or
// height is 0.
struct CellWindow {
  int x = 0, y = 0, width = 0, height = 0;

  bool empty() const { return width <= 0 || height <= 0; }
  // The smallest window holding this one and cell (i, j).
  void include(int i, int j) {
    if (empty()) {
      *this = {i, j, 1, 1};
      return;
    }
    const int right = std::max(x + width, i + 1);
    const int bottom = std::max(y + height, j + 1);
    x = std::min(x, i);
    y = std::min(y, j);
    width = right - x;
    height = bottom - y;
  }
  void include(const CellWindow& other) {
    if (other.empty()) return;
    include(other.x, other.y);
    include(other.x + other.width - 1, other.y + other.height - 1);
  }
};

// Cells of a grid, one byte each (0: empty), row by row from the top.
struct CellMask {
  CollageGrid grid;
  std::vector<std::uint8_t> cells;

  CellMask() = default;
  explicit CellMask(const CollageGrid& g) : grid(g), cells(std::size_t(g.cellCount()), 0) {}
  std::uint8_t& at(int i, int j) { return cells[std::size_t(j) * std::size_t(grid.side()) + i]; }
  std::uint8_t at(int i, int j) const {
    return cells[std::size_t(j) * std::size_t(grid.side()) + i];
  }
};

}  // namespace quill
