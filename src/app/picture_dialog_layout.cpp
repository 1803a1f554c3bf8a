// The widgets of "Render Picture...", laid out in one form.

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QToolButton>
#include <algorithm>

#include "app/picture_dialog.h"
#include "core/commands/drawing_checks.h"
#include "core/document/document.h"

namespace quill {

void PictureDialog::showColour(QToolButton* button, Rgb colour) {
  // A swatch as the icon: the style greys it while the setting does not apply.
  QPixmap swatch(button->iconSize());
  swatch.fill(QColor::fromRgb(colour));
  button->setIcon(QIcon(swatch));
}

void PictureDialog::buildWidgets() {
  auto* form = new QFormLayout(this);
  const PictureRequest defaults;
  auto side = [this](const char* name, int value) {
    auto* box = new QSpinBox(this);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(1, kMaxPictureSide);
    box->setValue(value);
    box->setSuffix(tr(" px"));
    return box;
  };
  width_ = side("pictureWidth", defaults.width);
  height_ = side("pictureHeight", defaults.height);
  auto* size = new QHBoxLayout;
  size->addWidget(width_);
  size->addWidget(new QLabel(QStringLiteral("×"), this));
  size->addWidget(height_);
  size->addStretch();
  form->addRow(tr("Size:"), size);

  mode_ = new QComboBox(this);
  mode_->setObjectName(QStringLiteral("pictureMode"));
  mode_->addItems({tr("Blue Print"), tr("Fractal"), tr("Chaos Game")});
  mode_->setCurrentIndex(int(PictureMode::ChaosGame));
  form->addRow(tr("Drawing:"), mode_);
  // The fractal's depth and the chaos game's points are kept apart, so that switching the drawing
  // never turns a depth of 7 into 7 points. The panel's count starts the one it suits.
  const QString count = document_.state.countText.trimmed();
  const Result<std::int32_t> panelCount = readIterationCount(count);
  const bool panelDepth = panelCount && *panelCount >= 0 && *panelCount <= kMaxFractalDepth;
  depth_ = new QLineEdit(panelDepth ? count : QStringLiteral("7"), this);
  depth_->setObjectName(QStringLiteral("pictureDepth"));
  depth_->setToolTip(tr("The Fractal's depth: 0 to %1").arg(kMaxFractalDepth));
  form->addRow(tr("Depth:"), depth_);
  points_ = new QLineEdit(panelCount && !panelDepth ? count : QStringLiteral("1000000"), this);
  points_->setObjectName(QStringLiteral("picturePoints"));
  points_->setToolTip(tr("The Chaos Game's number of points"));
  form->addRow(tr("Points:"), points_);

  shading_ = new QComboBox(this);
  shading_->setObjectName(QStringLiteral("pictureShading"));
  shading_->addItems({tr("Flat: one pixel per point"), tr("Density: hit counts"),
                      tr("By map: hit counts in the maps' colours")});
  form->addRow(tr("Shading:"), shading_);
  gamma_ = new QDoubleSpinBox(this);
  gamma_->setObjectName(QStringLiteral("pictureGamma"));
  gamma_->setRange(0.1, 10.0);
  gamma_->setSingleStep(0.1);
  gamma_->setValue(defaults.gamma);
  form->addRow(tr("Gamma:"), gamma_);
  supersample_ = new QSpinBox(this);
  supersample_->setObjectName(QStringLiteral("pictureSupersample"));
  supersample_->setRange(1, 4);
  supersample_->setPrefix(QStringLiteral("K = "));
  supersample_->setToolTip(tr("Renders K × K times the pixels and averages down"));
  form->addRow(tr("Supersampling:"), supersample_);

  auto* maps = new QHBoxLayout;
  maps->setSpacing(2);
  for (std::size_t i = 0; i < mapColours_.size(); ++i) {
    QToolButton* button =
        addColourButton(QStringLiteral("pictureMapColour_%1").arg(i + 1), mapColours_[i]);
    button->setToolTip(tr("Map %1").arg(i + 1));
    mapButtons_.push_back(button);
    maps->addWidget(button);
  }
  maps->addStretch();
  form->addRow(tr("Map colours:"), maps);
  auto* inks = new QHBoxLayout;
  inks->addWidget(new QLabel(tr("Pen"), this));
  penButton_ = addColourButton(QStringLiteral("picturePen"), pen_);
  inks->addWidget(penButton_);
  inks->addWidget(new QLabel(tr("Paper"), this));
  paperButton_ = addColourButton(QStringLiteral("picturePaper"), paper_);
  inks->addWidget(paperButton_);
  inks->addStretch();
  form->addRow(tr("Colours:"), inks);
  seed_ = new QLineEdit(QString::number(defaults.seed), this);
  seed_->setObjectName(QStringLiteral("pictureSeed"));
  seed_->setToolTip(
      tr("The chaos game's generator starts here; the same seed gives "
         "the same picture"));
  form->addRow(tr("Seed:"), seed_);

  file_ = new QLineEdit(this);
  file_->setObjectName(QStringLiteral("pictureFile"));
  file_->setPlaceholderText(QStringLiteral("picture.png"));
  file_->setToolTip(kFileTip);
  file_->setMinimumWidth(kFileFieldWidth);
  auto* browse = new QPushButton(tr("Browse..."), this);
  browse->setObjectName(QStringLiteral("pictureBrowse"));
  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(file_, 1);
  fileRow->addWidget(browse);
  form->addRow(tr("File:"), fileRow);
  depth16_ = new QCheckBox(tr("16 bits a channel (PNG)"), this);
  depth16_->setObjectName(QStringLiteral("pictureDepth16"));
  form->addRow(QString(), depth16_);

  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("pictureProgress"));
  progress_->setRange(0, 1000);
  progress_->setTextVisible(false);
  form->addRow(progress_);
  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("pictureStatus"));
  status_->setWordWrap(true);
  status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  form->addRow(status_);
  render_ = new QPushButton(tr("Render"), this);
  render_->setObjectName(QStringLiteral("pictureRender"));
  render_->setDefault(true);
  cancel_ = new QPushButton(tr("Cancel"), this);
  cancel_->setObjectName(QStringLiteral("pictureCancel"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(render_);
  buttons->addWidget(cancel_);
  form->addRow(buttons);

  connect(mode_, &QComboBox::currentIndexChanged, this, &PictureDialog::updateEnabled);
  connect(shading_, &QComboBox::currentIndexChanged, this, &PictureDialog::updateEnabled);
  connect(file_, &QLineEdit::textChanged, this, &PictureDialog::updateEnabled);
  connect(file_, &QLineEdit::textChanged, this, &PictureDialog::fitFileField);
  connect(browse, &QPushButton::clicked, this, &PictureDialog::browse);
  connect(render_, &QPushButton::clicked, this, &PictureDialog::render);
  connect(cancel_, &QPushButton::clicked, this, &PictureDialog::cancelRender);
}

QToolButton* PictureDialog::addColourButton(const QString& name, Rgb& colour) {
  auto* button = new QToolButton(this);
  button->setObjectName(name);
  button->setFixedSize(24, 24);
  button->setIconSize(QSize(16, 16));
  showColour(button, colour);
  // `colour` is a member of this window, alive as long as the button.
  connect(button, &QToolButton::clicked, this, [this, button, &colour] {
    const std::optional<Rgb> chosen = document_.dialogs.chooseColor(colour);
    comeBack();
    if (chosen) {
      colour = *chosen;
      showColour(button, colour);
    }
  });
  return button;
}

void PictureDialog::fitFileField() {
  // The whole name in view: the field, and the window with it, widen to the text, up to most of
  // the screen; a longer name scrolls, and the field's tooltip still shows it whole.
  const QRect screen = this->screen()->availableGeometry();
  const int text = file_->fontMetrics().horizontalAdvance(file_->text()) +
                   file_->fontMetrics().averageCharWidth() * 3;
  const int others = frameGeometry().width() - file_->width();
  file_->setMinimumWidth(
      std::clamp(text, kFileFieldWidth, std::max(kFileFieldWidth, screen.width() - others)));
  file_->setToolTip(file_->text().isEmpty() ? kFileTip : file_->text() + u'\n' + kFileTip);
  if (!isVisible()) return;
  layout()->activate();
  QRect placed = frameGeometry();
  if (placed.right() > screen.right()) placed.moveRight(screen.right());
  if (placed.left() < screen.left()) placed.moveLeft(screen.left());
  if (placed.topLeft() != frameGeometry().topLeft()) move(placed.topLeft());
}

}  // namespace quill
