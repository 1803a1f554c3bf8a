#include "core/collage/collage_picture.h"

namespace quill {

namespace {

// ARGB colours of the collage's cells.
constexpr QRgb kCoveredColour = qRgba(40, 160, 70, 90);     // target under an image: as wanted
constexpr QRgb kUncoveredColour = qRgba(220, 40, 40, 170);  // target no image covers
constexpr QRgb kSpillColour = qRgba(40, 90, 230, 130);      // image outside the target
constexpr QRgb kShapeColour = qRgba(30, 30, 30, 255);       // the backdrop; its opacity applies

// The grid's cells as a picture, a pixel a cell, the first row at the top.
QImage cellPicture(const CollageGrid& grid) {
  QImage picture(grid.side(), grid.side(), QImage::Format_ARGB32_Premultiplied);
  picture.fill(Qt::transparent);
  return picture;
}

}  // namespace

QImage shapePicture(const Target& target) {
  QImage picture = cellPicture(target.mask.grid);
  const int side = target.mask.grid.side();
  for (const std::int32_t index : target.cellList) {
    picture.setPixel(index % side, index / side, kShapeColour);
  }
  return picture;
}

QImage collagePicture(const CellMask& shape, const CellMask& images) {
  QImage picture = cellPicture(shape.grid);
  const int side = shape.grid.side();
  for (int j = 0; j < side; ++j) {
    auto* line = reinterpret_cast<QRgb*>(picture.scanLine(j));
    const std::uint8_t* onShape = &shape.cells[std::size_t(j) * std::size_t(side)];
    const std::uint8_t* onImage = &images.cells[std::size_t(j) * std::size_t(side)];
    for (int i = 0; i < side; ++i) {
      if (onShape[i] != 0) {
        line[i] = qPremultiply(onImage[i] != 0 ? kCoveredColour : kUncoveredColour);
      } else if (onImage[i] != 0) {
        line[i] = qPremultiply(kSpillColour);
      }
    }
  }
  return picture;
}

}  // namespace quill
