#include "core/movie/movie_export.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>
#include <cmath>

#include "core/maps/read_grid.h"
#include "core/movie/ffmpeg_movie.h"
#include "core/movie/gif_movie.h"

namespace quill {

namespace {

const QRegularExpression& numberPattern() {
  static const QRegularExpression pattern(QStringLiteral("%(0?\\d{0,2})d"));
  return pattern;
}

Status writePngSequence(const MovieRequest& movie, const RenderControl& control,
                        const QString& pattern) {
  for (int frame = 0; frame < movie.frameCount; ++frame) {
    if (control.cancelled()) return Failure{kMovieCancelledMessage};
    const Status written = renderPicture(frameInputs(movie, frame), movie.picture,
                                         frameControl(control, frame, movie.frameCount),
                                         framePath(pattern, frame + 1));
    if (!written) {
      if (!control.cancelled()) return written;
      return Failure{
          QCoreApplication::translate("Messages",
                                      "The export was cancelled; the first %n pictures were "
                                      "written.",
                                      nullptr, frame)};
    }
  }
  control.report(1);
  return {};
}

}  // namespace

RenderControl frameControl(const RenderControl& control, int frame, int frameCount) {
  RenderControl part = control;
  if (control.progress) {
    part.progress = [&control, frame, frameCount](double done) {
      control.report((frame + done) / frameCount);
    };
  }
  return part;
}

std::optional<MovieFormat> movieFormatFor(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == u"gif") return MovieFormat::Gif;
  if (suffix == u"mp4") return MovieFormat::Mp4;
  if (suffix == u"png" && QFileInfo(path).fileName().count(numberPattern()) == 1) {
    return MovieFormat::PngSequence;
  }
  return std::nullopt;
}

QString framePath(const QString& pattern, int number) {
  const QFileInfo info(pattern);
  QString name = info.fileName();
  const QRegularExpressionMatch match = numberPattern().match(name);
  if (!match.hasMatch()) return pattern;
  const QString width = match.captured(1);
  const QString digits = QString::number(number).rightJustified(
      width.isEmpty() ? 0 : width.toInt(), width.startsWith(u'0') ? u'0' : u' ');
  name.replace(match.capturedStart(), match.capturedLength(), digits);
  return info.path() == u"." && !pattern.startsWith(QStringLiteral("./"))
             ? name
             : info.path() + u'/' + name;
}

PictureInputs frameInputs(const MovieRequest& movie, int frame) {
  PictureInputs inputs = movie.inputs;
  const double time = frameTime(movie.plan, frame, movie.frameCount);
  inputs.drawing.maps = mapTableOf(systemAt(movie.plan, time));
  if (!movie.keyKinds.empty()) {
    const auto& keys = movie.plan.keys;
    std::size_t nearest = 0;
    for (std::size_t k = 1; k < keys.size(); ++k) {
      if (std::abs(keys[k].time - time) < std::abs(keys[nearest].time - time)) nearest = k;
    }
    // A loop's last key is the first come round again.
    inputs.kind = movie.keyKinds[nearest < movie.keyKinds.size() ? nearest : 0];
  }
  return inputs;
}

Status renderFrameRows(const MovieRequest& movie, int frame, const RenderControl& control,
                       const RowSink& sink) {
  const PictureInputs inputs = frameInputs(movie, frame);
  if (inputs.kind == DrawingKind::ChaosGame && movie.picture.shading != Shading::Flat) {
    return renderShadedRows(inputs, movie.picture, control, sink);
  }
  return renderFlatRows(inputs, movie.picture, control, sink);
}

Status exportMovie(const MovieRequest& movie, const RenderControl& control, const QString& path) {
  PictureRequest picture = movie.picture;
  picture.format = PictureFormat::Png8;
  if (const Status fits = checkPictureRequest(picture, pictureModeOf(movie.inputs.kind)); !fits) {
    return fits;
  }
  switch (movieFormatFor(path).value_or(MovieFormat::PngSequence)) {
    case MovieFormat::PngSequence:
      return writePngSequence(movie, control, path);
    case MovieFormat::Gif:
      return writeGifMovie(movie, control, path);
    case MovieFormat::Mp4:
      break;
  }
  return writeMp4Movie(movie, control, path);
}

}  // namespace quill
