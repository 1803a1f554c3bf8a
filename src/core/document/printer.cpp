#include "core/document/printer.h"

namespace quill {

QRectF fitOnPage(const QSizeF& picture, const QRectF& page) {
  if (picture.isEmpty() || page.isEmpty()) return QRectF(page.topLeft(), QSizeF(0, 0));
  QSizeF size = picture;
  size.scale(page.size(), Qt::KeepAspectRatio);
  return QRectF(page.left() + (page.width() - size.width()) / 2,
                page.top() + (page.height() - size.height()) / 2, size.width(), size.height());
}

}  // namespace quill
