#include "app/picture_dialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <memory>

#include "core/base/message_text.h"
#include "core/commands/drawing_checks.h"
#include "core/commands/open_picture.h"
#include "core/document/document.h"
#include "core/document/draw_runner.h"

namespace quill {

namespace {

inline const QString kSeedMessage = QStringLiteral(QT_TRANSLATE_NOOP(
    "Messages", "The seed must be a whole number from 0 to 18446744073709551615."));
inline const QString kNoFileMessage =
    QStringLiteral(QT_TRANSLATE_NOOP("Messages", "Please choose the file to write."));

QString nativeAbsolute(const QString& path) {
  return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

// A failure to write a file given by a relative name says where that name led.
QString withFolderOf(const QString& message, const QString& path) {
  if (QFileInfo(path).isAbsolute() || message == kNoMemoryMessage || message == kNoThreadMessage) {
    return message;
  }
  return messageText(message) + u'\n' +
         PictureDialog::tr("The name %1 is relative to the program's working folder, %2.")
             .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(QDir::currentPath()));
}

}  // namespace

PictureDialog::PictureDialog(Document& document, QWidget* parent)
    : QWidget(parent, Qt::Dialog),
      document_(document),
      mapColours_(defaultMapColours()),
      pen_(document.drawing.penColor),
      paper_(document.drawing.paperColor) {
  setObjectName(QStringLiteral("pictureDialog"));
  setWindowTitle(tr("Render Picture"));
  buildWidgets();
  connect(&renders_, &JobRunner::progressed, progress_, &QProgressBar::setValue);
  updateEnabled();
}

PictureDialog::~PictureDialog() = default;

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
  status_->setText(messageText(text));  // the core's messages come in the source language
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
  for (QWidget* each : findChildren<QWidget*>()) {
    if (each != progress_ && each != status_ && each != cancel_) each->setEnabled(idle);
  }
  cancel_->setEnabled(!idle);
  if (!idle) return;
  depth_->setEnabled(mode() == PictureMode::Fractal);
  points_->setEnabled(chaos);
  shading_->setEnabled(chaos);
  gamma_->setEnabled(chaos && shading != Shading::Flat);
  tone_->setEnabled(chaos && shading != Shading::Flat);
  gammaThreshold_->setEnabled(chaos && shading != Shading::Flat &&
                              Tone(tone_->currentIndex()) == Tone::Mean);
  seed_->setEnabled(chaos);
  for (QToolButton* button : mapButtons_) button->setEnabled(chaos && shading == Shading::ByMap);
  // Vectors have neither a depth of colour nor pixels to supersample.
  const std::optional<PictureFormat> format = pictureFormatFor(file_->text().trimmed(), false);
  depth16_->setEnabled(format == PictureFormat::Png8);
  supersample_->setEnabled(format != PictureFormat::Svg);
}

void PictureDialog::browse() {
  const QString name = QFileDialog::getSaveFileName(
      this, tr("Render Picture To"),
      file_->text().isEmpty() ? QStringLiteral("picture.png") : file_->text(),
      tr("PNG image (*.png);;JPEG image (*.jpg *.jpeg);;BMP image (*.bmp);;"
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

Result<RenderSettings> PictureDialog::settings() const {
  RenderSettings settings;
  settings.mode = mode();
  settings.count = settings.mode == PictureMode::Fractal     ? depth_->text()
                   : settings.mode == PictureMode::ChaosGame ? points_->text()
                                                             : QString();
  PictureRequest& request = settings.request;
  request.width = width_->value();
  request.height = height_->value();
  const bool chaos = settings.mode == PictureMode::ChaosGame;
  request.shading = chaos ? Shading(shading_->currentIndex()) : Shading::Flat;
  request.gamma = gamma_->value();
  if (request.shading != Shading::Flat) {
    request.tone = Tone(tone_->currentIndex());
    request.gammaThreshold = gammaThreshold_->value();
  }
  request.transparent = transparent_->isChecked();
  request.supersample = supersample_->value();
  request.mapColours = mapColours_;
  request.pen = pen_;
  request.paper = paper_;
  request.format = depth16_->isChecked() ? PictureFormat::Png16 : PictureFormat::Png8;
  bool number = false;
  request.seed = seed_->text().trimmed().toULongLong(&number, 10);
  if (!number) return Failure{kSeedMessage};
  return settings;
}

void PictureDialog::render() {
  if (rendering()) return;
  const PictureMode pictureMode = mode();
  // The grid and the count first, as the drawing buttons check them.
  const QString count = pictureMode == PictureMode::Fractal     ? depth_->text()
                        : pictureMode == PictureMode::ChaosGame ? points_->text()
                                                                : QString();
  Result<PictureInputs> inputs = checkPictureInputs(document_, pictureMode, count);
  if (!inputs) {
    refuse(inputs.message());
    return;
  }
  Result<RenderSettings> chosen = settings();
  if (!chosen) {
    refuse(chosen.message());
    return;
  }
  std::optional<PictureRequest> request = chosen->request;
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
  request->record = recordText(pictureRecordOf(document_, *inputs, *request));
  if (const Status fits = checkPictureRequest(*request, pictureMode); !fits) {
    refuse(fits.message());
    return;
  }
  const QString path = QDir::fromNativeSeparators(typed);
  if (!mayReplace(path)) return;
  target_ = path;
  cancelAsked_ = false;
  progress_->setValue(0);
  showStatus(tr("Rendering..."));
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
    showStatus(tr("Written to %1").arg(nativeAbsolute(target_)));
    agreed_ = QFileInfo(target_).absoluteFilePath();
    noteFileUsed(document_, agreed_);
  } else if (cancelAsked_) {
    progress_->setValue(0);
    showStatus(tr("Cancelled; the file was left as it was."));
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
