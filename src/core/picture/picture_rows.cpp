#include "core/picture/picture_rows.h"

#include <cassert>

namespace quill {

Status writePictureRows(QIODevice& device, PictureFormat format, int width, int height,
                        const RowSource& row, const RenderControl& control, double progressFrom) {
  switch (format) {
    case PictureFormat::Png8:
    case PictureFormat::Png16:
      return writePngRows(device, width, height, format == PictureFormat::Png16, false, row,
                          control, progressFrom);
    case PictureFormat::Bmp:
      return writeBmpRows(device, width, height, row, control, progressFrom);
    case PictureFormat::Jpeg:
      return writeJpegRows(device, width, height, row, control, progressFrom);
    case PictureFormat::Svg:
    case PictureFormat::QtImage:
      break;
  }
  assert(false && "SVG and Qt's other types are not written by rows");
  return Failure{kRenderedPictureMessages.other};
}

}  // namespace quill
