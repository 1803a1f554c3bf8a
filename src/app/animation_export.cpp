// The Animation window's "Export...": the morph's frames rendered as Render Picture renders a
// picture, to numbered PNG pictures, a GIF or an MP4.
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <memory>

#include "app/animation_window.h"
#include "core/base/message_text.h"
#include "core/commands/drawing_checks.h"
#include "core/document/document.h"
#include "core/morph/key_editing.h"
#include "core/movie/movie_setup.h"

namespace quill {

namespace {

inline const QString kMovieNameMessage = QStringLiteral(QT_TRANSLATE_NOOP(
    "Messages",
    "The movie's name must end in .gif or .mp4, or be a .png name with a number such as "
    "frames_%05d.png for numbered pictures."));

}  // namespace

std::optional<AnimationWindow::MovieChoice> AnimationWindow::askMovie(const MovieChoice& last) {
  QDialog dialog(this);
  dialog.setWindowTitle(tr("Export Animation"));
  auto* form = new QFormLayout(&dialog);
  auto* frames = new QSpinBox(&dialog);
  frames->setRange(2, kMaxFrames);
  frames->setValue(last.frames);
  form->addRow(tr("Frames:"), frames);
  auto* rate = new QDoubleSpinBox(&dialog);
  rate->setRange(kMinFramesPerSecond, kMaxFramesPerSecond);
  rate->setDecimals(2);
  rate->setValue(last.framesPerSecond);
  form->addRow(tr("Frames a second:"), rate);
  auto* fileRow = new QHBoxLayout;
  auto* file = new QLineEdit(QDir::toNativeSeparators(last.path), &dialog);
  file->setMinimumWidth(280);
  file->setPlaceholderText(QStringLiteral("movie.gif"));
  fileRow->addWidget(file, 1);
  auto* browse = new QPushButton(tr("Browse..."), &dialog);
  fileRow->addWidget(browse);
  form->addRow(tr("File:"), fileRow);
  auto* note = new QLabel(tr("Each frame is drawn as Render Picture is set to draw: its size, "
                             "drawing, count, shading, colours and seed."),
                          &dialog);
  note->setWordWrap(true);
  form->addRow(note);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  buttons->button(QDialogButtonBox::Ok)->setText(tr("Export"));
  form->addRow(buttons);
  connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  QString agreed;  // the absolute path the file dialog asked about
  connect(browse, &QPushButton::clicked, &dialog, [&] {
    const QString name = QFileDialog::getSaveFileName(
        &dialog, tr("Export Animation To"),
        file->text().isEmpty() ? QStringLiteral("movie.gif") : file->text(),
        tr("Animated GIF (*.gif);;MP4 video (*.mp4);;Numbered PNG pictures (*.png)"));
    if (name.isEmpty()) return;
    agreed = QFileInfo(name).absoluteFilePath();
    file->setText(QDir::toNativeSeparators(name));
  });
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  MovieChoice choice;
  choice.frames = frames->value();
  choice.framesPerSecond = rate->value();
  choice.path = QDir::fromNativeSeparators(file->text().trimmed());
  choice.agreed = !agreed.isEmpty() && QFileInfo(choice.path).absoluteFilePath() == agreed;
  return choice;
}

Result<MovieRequest> AnimationWindow::movieRequest(const MovieChoice& choice) {
  if (!plan_) return Failure{planMessage_};
  const std::optional<MovieFormat> format = movieFormatFor(choice.path);
  if (!format) return Failure{kMovieNameMessage};
  const Result<RenderSettings> settings =
      pictureSettings_ ? pictureSettings_() : Result<RenderSettings>(RenderSettings{});
  if (!settings) return Failure{settings.message()};
  // The drawing and its count are checked with the first key in a copy of the grid, as the
  // drawing commands check them; the user's grid stays as it is.
  const AnimationKey& first = animation_.keys.front();
  Document& document = document_;
  PanelState panel = document.state;
  putMapsInGrid(panel, first.maps);
  panel.selectedPattern = keyPattern(first);
  const Result<DrawingOrder> order = checkDrawing(panel, settings->mode, settings->count);
  if (!order) return Failure{order.message()};
  MovieRequest movie;
  movie.inputs = PictureInputs{document.drawing, order->kind};
  movie.inputs.drawing.maps = order->maps;
  movie.inputs.drawing.iterationCount = order->iterationCount;
  movie.keyKinds = keyDrawingKinds(animation_.keys, order->kind);
  movie.plan = *plan_;
  movie.frameCount = choice.frames;
  movie.framesPerSecond = choice.framesPerSecond;
  movie.picture = moviePicture(settings->request, *format);
  return movie;
}

void AnimationWindow::exportMovie() {
  if (exporting()) return;
  pause();
  endScrub();
  const std::optional<MovieChoice> choice = askMovie_(lastMovie_);
  if (!choice) return;
  lastMovie_ = *choice;
  const Result<MovieRequest> movie = movieRequest(*choice);
  if (!movie) {
    // The status says what happened last: no full bar of an earlier export beside a refusal.
    exportProgress_->setValue(0);
    showExportStatus(movie.message());
    tell(movie.message());
    return;
  }
  // A sequence writes a file a frame; a GIF or an MP4 replaces the file of its name, which the
  // user agrees to once (the file dialog asks too), and not for a movie this window wrote.
  const QFileInfo target(choice->path);
  const QString absolute = target.absoluteFilePath();
  if (movieFormatFor(choice->path) != MovieFormat::PngSequence && target.exists() &&
      !choice->agreed && absolute != writtenMovie_) {
    const bool replace = document_.dialogs.confirmReplace(QDir::toNativeSeparators(absolute));
    raise();
    activateWindow();
    if (!replace) return;
  }
  exportCancelAsked_ = false;
  exportProgress_->setValue(0);
  showExportStatus(tr("Exporting..."));
  // The job owns its copy of the plan, the settings and the path, and the export's outcome,
  // which the finish step reads once the worker has let it go.
  auto written = std::make_shared<Status>();
  DrawTask task;
  task.work = [written, job = *movie, path = choice->path](const RenderControl& control) {
    *written = quill::exportMovie(job, control, path);
    return !control.cancelled();
  };
  task.finish = [this, written, path = choice->path](const Status& failure, bool) {
    exportEnded(failure ? *written : failure, path);
  };
  exports_.run(std::move(task));
  exportButton_->setEnabled(false);
  cancelExportButton_->setEnabled(true);
}

void AnimationWindow::cancelExport() {
  if (!exporting()) return;
  exportCancelAsked_ = true;
  exports_.cancel();
}

void AnimationWindow::exportEnded(const Status& outcome, const QString& path) {
  exportButton_->setEnabled(plan_.has_value());
  cancelExportButton_->setEnabled(false);
  // What the export did decides: a Cancel that came once the movie was complete found it written.
  if (outcome) {
    exportProgress_->setValue(exportProgress_->maximum());
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (movieFormatFor(path) != MovieFormat::PngSequence) writtenMovie_ = absolute;
    showExportStatus(tr("Written to %1").arg(QDir::toNativeSeparators(absolute)));
  } else if (exportCancelAsked_) {
    exportProgress_->setValue(0);
    showExportStatus(outcome.message());
  } else {
    exportProgress_->setValue(0);
    showExportStatus(outcome.message());
    if (isVisible()) tell(outcome.message());
  }
}

void AnimationWindow::tell(const QString& message) {
  document_.dialogs.message(message);
  raise();
  activateWindow();
}

void AnimationWindow::showExportStatus(const QString& text) {
  exportStatus_->setText(messageText(text));  // the core's messages come in the source language
}

}  // namespace quill
