// The Render Picture window's settings taken from an opened picture.
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QIcon>
#include <QLineEdit>
#include <QPixmap>
#include <QSpinBox>
#include <QToolButton>

#include "app/picture_dialog.h"
#include "core/picture/picture_record.h"

namespace quill {

namespace {

void showSwatch(QToolButton* button, Rgb colour) {
  QPixmap swatch(button->iconSize());
  swatch.fill(QColor::fromRgb(colour));
  button->setIcon(QIcon(swatch));
}

}  // namespace

void PictureDialog::takeSettings(const PictureRecord& record) {
  width_->setValue(record.width);
  height_->setValue(record.height);
  mode_->setCurrentIndex(int(record.mode));
  if (record.mode != PictureMode::BluePrint) count_->setText(QString::number(record.count));
  shading_->setCurrentIndex(int(record.shading));
  gamma_->setValue(record.gamma);
  supersample_->setValue(record.supersample);
  mapColours_ = defaultMapColours();
  for (std::size_t i = 0; i < record.mapColours.size() && i < mapColours_.size(); ++i) {
    mapColours_[i] = record.mapColours[i];
  }
  for (std::size_t i = 0; i < mapButtons_.size() && i < mapColours_.size(); ++i) {
    showSwatch(mapButtons_[i], mapColours_[i]);
  }
  pen_ = record.pen;
  paper_ = record.paper;
  showSwatch(penButton_, pen_);
  showSwatch(paperButton_, paper_);
  seed_->setText(QString::number(record.seed));
  depth16_->setChecked(record.depth16);
  updateEnabled();
}

}  // namespace quill
