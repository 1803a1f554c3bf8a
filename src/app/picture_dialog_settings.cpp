// The Render Picture window's settings taken from an opened picture.
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QIcon>
#include <QLineEdit>
#include <QPixmap>
#include <QSettings>
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
  if (record.mode == PictureMode::Fractal) depth_->setText(QString::number(record.count));
  if (record.mode == PictureMode::ChaosGame) points_->setText(QString::number(record.count));
  shading_->setCurrentIndex(int(record.shading));
  gamma_->setValue(record.gamma);
  tone_->setCurrentIndex(int(record.tone));
  gammaThreshold_->setValue(record.gammaThreshold);
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
  transparent_->setChecked(record.transparent);
  updateEnabled();
}

void PictureDialog::saveSettings(QSettings& settings) const {
  settings.setValue(QStringLiteral("width"), width_->value());
  settings.setValue(QStringLiteral("height"), height_->value());
  settings.setValue(QStringLiteral("mode"), mode_->currentIndex());
  settings.setValue(QStringLiteral("depth"), depth_->text());
  settings.setValue(QStringLiteral("points"), points_->text());
  settings.setValue(QStringLiteral("shading"), shading_->currentIndex());
  settings.setValue(QStringLiteral("gamma"), gamma_->value());
  settings.setValue(QStringLiteral("tone"), tone_->currentIndex());
  settings.setValue(QStringLiteral("gammaThreshold"), gammaThreshold_->value());
  settings.setValue(QStringLiteral("supersample"), supersample_->value());
  QStringList colours;
  for (const Rgb colour : mapColours_) {
    colours.append(QStringLiteral("%1").arg(colour & 0xFFFFFF, 6, 16, QLatin1Char('0')));
  }
  settings.setValue(QStringLiteral("mapColours"), colours);
  settings.setValue(QStringLiteral("seed"), seed_->text());
  settings.setValue(QStringLiteral("file"), file_->text());
  settings.setValue(QStringLiteral("depth16"), depth16_->isChecked());
  settings.setValue(QStringLiteral("transparent"), transparent_->isChecked());
}

void PictureDialog::restoreSettings(const QSettings& settings) {
  // A value missing or out of range leaves the field as it is: the widgets keep their ranges.
  const auto whole = [&settings](const char* key, auto set) {
    bool number = false;
    const int value = settings.value(QLatin1String(key)).toInt(&number);
    if (number) set(value);
  };
  whole("width", [this](int value) { width_->setValue(value); });
  whole("height", [this](int value) { height_->setValue(value); });
  whole("mode", [this](int value) {
    if (value >= 0 && value < mode_->count()) mode_->setCurrentIndex(value);
  });
  whole("shading", [this](int value) {
    if (value >= 0 && value < shading_->count()) shading_->setCurrentIndex(value);
  });
  whole("tone", [this](int value) {
    if (value >= 0 && value < tone_->count()) tone_->setCurrentIndex(value);
  });
  whole("supersample", [this](int value) { supersample_->setValue(value); });
  bool number = false;
  const double gamma = settings.value(QStringLiteral("gamma")).toDouble(&number);
  if (number) gamma_->setValue(gamma);
  const double threshold = settings.value(QStringLiteral("gammaThreshold")).toDouble(&number);
  if (number) gammaThreshold_->setValue(threshold);
  if (settings.contains(QStringLiteral("depth"))) {
    depth_->setText(settings.value(QStringLiteral("depth")).toString());
  }
  if (settings.contains(QStringLiteral("points"))) {
    points_->setText(settings.value(QStringLiteral("points")).toString());
  }
  const QStringList colours = settings.value(QStringLiteral("mapColours")).toStringList();
  for (qsizetype i = 0; i < colours.size() && std::size_t(i) < mapColours_.size(); ++i) {
    const uint colour = colours[i].toUInt(&number, 16);
    if (number && colour <= 0xFFFFFF && colours[i].size() == 6) {
      mapColours_[std::size_t(i)] = Rgb(colour);
      if (std::size_t(i) < mapButtons_.size()) showSwatch(mapButtons_[std::size_t(i)], Rgb(colour));
    }
  }
  if (settings.contains(QStringLiteral("seed"))) {
    seed_->setText(settings.value(QStringLiteral("seed")).toString());
  }
  if (settings.contains(QStringLiteral("file"))) {
    file_->setText(settings.value(QStringLiteral("file")).toString());
  }
  depth16_->setChecked(settings.value(QStringLiteral("depth16"), false).toBool());
  transparent_->setChecked(settings.value(QStringLiteral("transparent"), false).toBool());
  updateEnabled();
}

}  // namespace quill
