#pragma once

#include <QImage>
#include <QString>
#include <cstdint>
#include <vector>

#include "core/base/result.h"
#include "core/collage/collage_grid.h"

namespace quill {

// The shape the maps should draw, as cells of the working grid, with what every measure of it
// needs ready: its cells listed, its box, and every cell's distance to it.
struct Target {
  CellMask mask;                       // 1 on the shape
  std::vector<std::int32_t> cellList;  // index j · side + i of every shape cell, row by row
  CellWindow box;                      // the smallest window holding the shape
  std::vector<std::int32_t> squared;   // per cell: squared distance to the shape, cells²
  std::vector<std::int32_t> nearest;   // per cell: index of a nearest shape cell
};

// The working grid of targets: the unit square at 512 cells a side, and half of it again beyond
// each side.
inline constexpr CollageGrid kTargetGrid{512, 256};

// The share of the square's side that the shape's longer side fills, as Fit Maps to Square
// places an attractor.
inline constexpr double kTargetSide = 0.96;

inline const QString kBlankTargetMessage = QStringLiteral(QT_TRANSLATE_NOOP(
    "Messages", "The picture is blank: nothing in it is darker than its background."));
inline const QString kBlankInvertedTargetMessage = QStringLiteral(QT_TRANSLATE_NOOP(
    "Messages", "The picture is blank: nothing in it is lighter than its background."));
inline const QString kDarkTargetMessage = QStringLiteral(QT_TRANSLATE_NOOP(
    "Messages",
    "The picture is dark all over: there is no background to tell a shape from. For a light "
    "shape on a dark background, choose \"Invert\"."));
inline const QString kLightTargetMessage = QStringLiteral(QT_TRANSLATE_NOOP(
    "Messages",
    "The picture is light all over: there is no background to tell a shape from. For a dark "
    "shape on a light background, leave \"Invert\" off."));
// %1: the file's name, %2: why it does not read.
inline const QString kNotAPictureMessage =
    QStringLiteral(QT_TRANSLATE_NOOP("Messages", "\"%1\" is not a picture that can be read: %2."));

// The shape of a picture: the pixels darker than its background (lighter, with `invert`), the
// threshold on luminance chosen by Otsu's method, transparent pixels counting as background.
// Placed on kTargetGrid centred in the unit square, its longer side filling kTargetSide; a cell
// is on the shape when the shape covers at least half of it. Fails with kBlankTargetMessage
// (or kBlankInvertedTargetMessage) when nothing stands out of a light picture (a dark one, with
// `invert`), with kDarkTargetMessage (kLightTargetMessage) when the whole picture is the shape.
Result<Target> targetFromImage(const QImage& image, bool invert);

// targetFromImage of the picture in a file of any type Qt reads; fails with kNotAPictureMessage
// when it does not read (no such file, not a picture, too large for memory). Pictures larger
// than 2048 pixels a side are read scaled down to that.
Result<Target> loadTarget(const QString& fileName, bool invert);

// A target of the shape `mask` already placed on its grid (any grid); none of its cells set
// gives a target with no cells, every distance DistanceTransform::kNone.
Target targetFromMask(CellMask mask);

// The target on a coarser grid of the same margin in units: a cell is on the shape when any of
// the factor × factor cells it covers is. `factor` divides the resolution and the margin.
Target coarsenTarget(const Target& target, int factor);

}  // namespace quill
