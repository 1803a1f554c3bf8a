#include "app/picture_dialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <memory>

#include "core/commands/drawing_checks.h"
#include "core/document/document.h"
#include "core/document/draw_runner.h"

namespace quill {

namespace {

inline const QString kSeedMessage =
    QStringLiteral("The seed must be a whole number from 0 to 18446744073709551615.");
inline const QString kNoFileMessage = QStringLiteral("Please choose the file to write.");

QString nativeAbsolute(const QString& path) {
  return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

// A failure to write a file given by a relative name says where that name led.
QString withFolderOf(const QString& message, const QString& path) {
  if (QFileInfo(path).isAbsolute() || message == kNoMemoryMessage || message == kNoThreadMessage) {
    return message;
  }
  return message + u'\n' +
         QStringLiteral("The name %1 is relative to the program's working folder, %2.")
             .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(QDir::currentPath()));
}

void showColour(QToolButton* button, Rgb colour) {
  // A swatch as the icon: the style greys it while the setting does not apply.
  QPixmap swatch(button->iconSize());
  swatch.fill(QColor::fromRgb(colour));
  button->setIcon(QIcon(swatch));
}

}  // namespace

PictureDialog::PictureDialog(Document& document, QWidget* parent)
    : QWidget(parent, Qt::Dialog),
      document_(document),
      mapColours_(defaultMapColours()),
      pen_(document.drawing.penColor),
      paper_(document.drawing.paperColor) {
  setObjectName(QStringLiteral("pictureDialog"));
  setWindowTitle(QStringLiteral("Render Picture"));
  buildWidgets();
  connect(&renders_, &JobRunner::progressed, progress_, &QProgressBar::setValue);
  updateEnabled();
}

PictureDialog::~PictureDialog() = default;

void PictureDialog::buildWidgets() {
  auto* form = new QFormLayout(this);
  const PictureRequest defaults;
  auto side = [this](const char* name, int value) {
    auto* box = new QSpinBox(this);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(1, kMaxPictureSide);
    box->setValue(value);
    box->setSuffix(QStringLiteral(" px"));
    return box;
  };
  width_ = side("pictureWidth", defaults.width);
  height_ = side("pictureHeight", defaults.height);
  auto* size = new QHBoxLayout;
  size->addWidget(width_);
  size->addWidget(new QLabel(QStringLiteral("×"), this));
  size->addWidget(height_);
  size->addStretch();
  form->addRow(QStringLiteral("Size:"), size);

  mode_ = new QComboBox(this);
  mode_->setObjectName(QStringLiteral("pictureMode"));
  mode_->addItems(
      {QStringLiteral("Blue Print"), QStringLiteral("Fractal"), QStringLiteral("Chaos Game")});
  mode_->setCurrentIndex(int(PictureMode::ChaosGame));
  form->addRow(QStringLiteral("Drawing:"), mode_);
  countLabel_ = new QLabel(this);
  count_ = new QLineEdit(document_.state.countText, this);
  count_->setObjectName(QStringLiteral("pictureCount"));
  form->addRow(countLabel_, count_);

  shading_ = new QComboBox(this);
  shading_->setObjectName(QStringLiteral("pictureShading"));
  shading_->addItems({QStringLiteral("Flat: one pixel per point"),
                      QStringLiteral("Density: hit counts"),
                      QStringLiteral("By map: hit counts in the maps' colours")});
  form->addRow(QStringLiteral("Shading:"), shading_);
  gamma_ = new QDoubleSpinBox(this);
  gamma_->setObjectName(QStringLiteral("pictureGamma"));
  gamma_->setRange(0.1, 10.0);
  gamma_->setSingleStep(0.1);
  gamma_->setValue(defaults.gamma);
  form->addRow(QStringLiteral("Gamma:"), gamma_);
  supersample_ = new QSpinBox(this);
  supersample_->setObjectName(QStringLiteral("pictureSupersample"));
  supersample_->setRange(1, 4);
  supersample_->setPrefix(QStringLiteral("K = "));
  supersample_->setToolTip(QStringLiteral("Renders K × K times the pixels and averages down"));
  form->addRow(QStringLiteral("Supersampling:"), supersample_);

  auto* maps = new QHBoxLayout;
  maps->setSpacing(2);
  for (std::size_t i = 0; i < mapColours_.size(); ++i) {
    QToolButton* button =
        addColourButton(QStringLiteral("pictureMapColour_%1").arg(i + 1), mapColours_[i]);
    button->setToolTip(QStringLiteral("Map %1").arg(i + 1));
    mapButtons_.push_back(button);
    maps->addWidget(button);
  }
  maps->addStretch();
  form->addRow(QStringLiteral("Map colours:"), maps);
  auto* inks = new QHBoxLayout;
  inks->addWidget(new QLabel(QStringLiteral("Pen"), this));
  penButton_ = addColourButton(QStringLiteral("picturePen"), pen_);
  inks->addWidget(penButton_);
  inks->addWidget(new QLabel(QStringLiteral("Paper"), this));
  paperButton_ = addColourButton(QStringLiteral("picturePaper"), paper_);
  inks->addWidget(paperButton_);
  inks->addStretch();
  form->addRow(QStringLiteral("Colours:"), inks);
  seed_ = new QLineEdit(QString::number(defaults.seed), this);
  seed_->setObjectName(QStringLiteral("pictureSeed"));
  seed_->setToolTip(
      QStringLiteral("The chaos game's generator starts here; the same seed gives "
                     "the same picture"));
  form->addRow(QStringLiteral("Seed:"), seed_);

  file_ = new QLineEdit(this);
  file_->setObjectName(QStringLiteral("pictureFile"));
  file_->setPlaceholderText(QStringLiteral("picture.png"));
  file_->setToolTip(
      QStringLiteral("The name's extension picks the type: .png, .jpg, .bmp, or .svg for Blue "
                     "Print and Fractal"));
  auto* browse = new QPushButton(QStringLiteral("Browse..."), this);
  browse->setObjectName(QStringLiteral("pictureBrowse"));
  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(file_, 1);
  fileRow->addWidget(browse);
  form->addRow(QStringLiteral("File:"), fileRow);
  depth16_ = new QCheckBox(QStringLiteral("16 bits a channel (PNG)"), this);
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
  render_ = new QPushButton(QStringLiteral("Render"), this);
  render_->setObjectName(QStringLiteral("pictureRender"));
  render_->setDefault(true);
  cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
  cancel_->setObjectName(QStringLiteral("pictureCancel"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(render_);
  buttons->addWidget(cancel_);
  form->addRow(buttons);

  connect(mode_, &QComboBox::currentIndexChanged, this, &PictureDialog::updateEnabled);
  connect(shading_, &QComboBox::currentIndexChanged, this, &PictureDialog::updateEnabled);
  connect(file_, &QLineEdit::textChanged, this, &PictureDialog::updateEnabled);
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

void PictureDialog::takeDocumentColours() {
  pen_ = document_.drawing.penColor;
  paper_ = document_.drawing.paperColor;
  showColour(penButton_, pen_);
  showColour(paperButton_, paper_);
}

void PictureDialog::comeBack() {
  // The program's dialogs belong to the panel, which comes to the front with them; this window
  // goes back in front of it.
  raise();
  activateWindow();
}

void PictureDialog::tell(const QString& message) {
  document_.dialogs.message(message);
  comeBack();
}

void PictureDialog::showStatus(const QString& text) {
  status_->setText(text);
  // A window does not grow by itself for a wrapped label's extra lines: a long message would be
  // cut off at the bottom.
  const int needed = layout()->totalHeightForWidth(width());
  if (isVisible() && needed > height()) resize(width(), needed);
}

void PictureDialog::refuse(const QString& message) {
  // The status line says what happened last: no earlier "Written to" stays beside a refusal.
  progress_->setValue(0);
  showStatus(message);
  tell(message);
}

bool PictureDialog::mayReplace(const QString& path) {
  const QFileInfo file(path);
  if (!file.exists() || file.isDir()) return true;
  const QString absolute = file.absoluteFilePath();
  if (absolute == agreed_) return true;
  const bool replace = document_.dialogs.confirmReplace(QDir::toNativeSeparators(absolute));
  comeBack();
  if (replace) agreed_ = absolute;
  return replace;
}

PictureMode PictureDialog::mode() const { return PictureMode(mode_->currentIndex()); }

void PictureDialog::updateEnabled() {
  const bool idle = !rendering();
  const bool chaos = mode() == PictureMode::ChaosGame;
  const auto shading = Shading(shading_->currentIndex());
  countLabel_->setText(chaos ? QStringLiteral("Points:") : QStringLiteral("Depth:"));
  for (QWidget* each : findChildren<QWidget*>()) {
    if (each != progress_ && each != status_ && each != cancel_) each->setEnabled(idle);
  }
  cancel_->setEnabled(!idle);
  if (!idle) return;
  count_->setEnabled(mode() != PictureMode::BluePrint);
  shading_->setEnabled(chaos);
  gamma_->setEnabled(chaos && shading != Shading::Flat);
  seed_->setEnabled(chaos);
  for (QToolButton* button : mapButtons_) button->setEnabled(chaos && shading == Shading::ByMap);
  depth16_->setEnabled(pictureFormatFor(file_->text().trimmed(), false) == PictureFormat::Png8);
}

void PictureDialog::browse() {
  const QString name = QFileDialog::getSaveFileName(
      this, QStringLiteral("Render Picture To"),
      file_->text().isEmpty() ? QStringLiteral("picture.png") : file_->text(),
      QStringLiteral("PNG image (*.png);;JPEG image (*.jpg *.jpeg);;BMP image (*.bmp);;"
                     "SVG drawing, Blue Print and Fractal only (*.svg)"));
  if (name.isEmpty()) return;
  // A name without an extension is a PNG, and says so. The file dialog has asked already
  // whether a file of the name it gave may be replaced.
  if (QFileInfo(name).suffix().isEmpty()) {
    file_->setText(QDir::toNativeSeparators(name + QStringLiteral(".png")));
  } else {
    agreed_ = QFileInfo(name).absoluteFilePath();
    file_->setText(QDir::toNativeSeparators(name));
  }
}

std::optional<PictureRequest> PictureDialog::readRequest() {
  PictureRequest request;
  request.width = width_->value();
  request.height = height_->value();
  const bool chaos = mode() == PictureMode::ChaosGame;
  request.shading = chaos ? Shading(shading_->currentIndex()) : Shading::Flat;
  request.gamma = gamma_->value();
  request.supersample = supersample_->value();
  request.mapColours = mapColours_;
  request.pen = pen_;
  request.paper = paper_;
  bool number = false;
  request.seed = seed_->text().trimmed().toULongLong(&number, 10);
  if (!number) {
    refuse(kSeedMessage);
    return std::nullopt;
  }
  return request;
}

void PictureDialog::render() {
  if (rendering()) return;
  const PictureMode pictureMode = mode();
  // The grid and the count first, as the drawing buttons check them.
  Result<PictureInputs> inputs = checkPictureInputs(document_, pictureMode, count_->text());
  if (!inputs) {
    refuse(inputs.message());
    return;
  }
  std::optional<PictureRequest> request = readRequest();
  if (!request) return;
  const QString typed = file_->text().trimmed();
  if (typed.isEmpty()) {
    refuse(kNoFileMessage);
    return;
  }
  // The name decides the type: never the bytes of one type under the name of another.
  const std::optional<PictureFormat> format = pictureFormatFor(typed, depth16_->isChecked());
  if (!format) {
    refuse(kPictureFormatMessage);
    return;
  }
  request->format = *format;
  if (const Status fits = checkPictureRequest(*request, pictureMode); !fits) {
    refuse(fits.message());
    return;
  }
  const QString path = QDir::fromNativeSeparators(typed);
  if (!mayReplace(path)) return;
  target_ = path;
  cancelAsked_ = false;
  progress_->setValue(0);
  showStatus(QStringLiteral("Rendering..."));
  // The job owns its copies of the maps, the settings and the path, and the render's outcome,
  // which its finish step reads once the worker has let it go.
  auto written = std::make_shared<Status>();
  DrawTask task;
  task.work = [written, job = std::move(*inputs), settings = *request,
               path = target_](const RenderControl& control) {
    *written = renderPicture(job, settings, control, path);
    return !control.cancelled();
  };
  task.finish = [this, written](const Status& failure, bool) {
    finished(failure ? *written : failure);
  };
  renders_.run(std::move(task));
  updateEnabled();
}

void PictureDialog::cancelRender() {
  if (!rendering()) return;
  cancelAsked_ = true;
  renders_.cancel();
}

void PictureDialog::finished(const Status& outcome) {
  updateEnabled();
  // What the render did decides, not whether Cancel was pressed: a Cancel that came once the
  // file was complete found it written.
  if (outcome) {
    progress_->setValue(progress_->maximum());
    showStatus(QStringLiteral("Written to %1").arg(nativeAbsolute(target_)));
    agreed_ = QFileInfo(target_).absoluteFilePath();
  } else if (cancelAsked_) {
    progress_->setValue(0);
    showStatus(QStringLiteral("Cancelled; the file was left as it was."));
  } else {
    const QString message = withFolderOf(outcome.message(), target_);
    progress_->setValue(0);
    showStatus(message);
    // The program is ending or the window closing: no box holds that up.
    if (!closing_) tell(message);
  }
  emit renderEnded();
}

void PictureDialog::closeEvent(QCloseEvent* event) {
  // Closing stops a render; its file is left as it was.
  if (rendering()) {
    cancelRender();
    closing_ = true;
    renders_.finishNow();
    closing_ = false;
  }
  event->accept();
}

}  // namespace quill
