#include "core/movie/ffmpeg_movie.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <cerrno>
#include <cstdio>
#include <optional>
#include <utility>

#include "core/movie/movie_export.h"
#include "core/picture/picture_rows.h"

namespace quill {

namespace {

// Bytes of frames that may wait in the pipe before the renderer waits for ffmpeg.
constexpr qint64 kPipeBacklog = qint64(8) << 20;
constexpr int kWaitMilliseconds = 100;  // between looks at the cancel flag while waiting

QStringList ffmpegArguments(const MovieRequest& movie, const QString& staged) {
  const PictureRequest& picture = movie.picture;
  return {QStringLiteral("-hide_banner"),
          QStringLiteral("-nostdin"),
          QStringLiteral("-loglevel"),
          QStringLiteral("error"),
          QStringLiteral("-y"),
          QStringLiteral("-f"),
          QStringLiteral("rawvideo"),
          QStringLiteral("-pix_fmt"),
          QStringLiteral("rgb24"),
          QStringLiteral("-video_size"),
          QStringLiteral("%1x%2").arg(picture.width).arg(picture.height),
          QStringLiteral("-framerate"),
          QString::number(movie.framesPerSecond),
          QStringLiteral("-i"),
          QStringLiteral("-"),
          QStringLiteral("-vf"),
          QStringLiteral("pad=ceil(iw/2)*2:ceil(ih/2)*2:color=0x%1")
              .arg(picture.paper, 6, 16, QLatin1Char('0')),
          QStringLiteral("-c:v"),
          QStringLiteral("libx264"),
          QStringLiteral("-pix_fmt"),
          QStringLiteral("yuv420p"),
          QStringLiteral("-movflags"),
          QStringLiteral("+faststart"),
          QStringLiteral("-f"),
          QStringLiteral("mp4"),
          staged};
}

// Waits until ffmpeg has taken most of what it was given; false when cancelled or gone.
bool drain(QProcess& ffmpeg, const RenderControl& control, qint64 backlog) {
  while (ffmpeg.bytesToWrite() > backlog) {
    if (control.cancelled() || ffmpeg.state() != QProcess::Running) return false;
    ffmpeg.waitForBytesWritten(kWaitMilliseconds);
  }
  return true;
}

Failure ffmpegFailure(QProcess& ffmpeg) {
  const QStringList said =
      QString::fromLocal8Bit(ffmpeg.readAllStandardError()).trimmed().split(u'\n');
  return Failure{QCoreApplication::translate("Messages", "ffmpeg could not make the movie: %1")
                     .arg(said.constLast().isEmpty() ? ffmpeg.errorString() : said.constLast())};
}

// A new empty file that is removed again unless kept.
class StagedFile {
 public:
  explicit StagedFile(QString path) : path_(std::move(path)) {}
  StagedFile(StagedFile&& other) noexcept : path_(std::exchange(other.path_, QString())) {}
  StagedFile(const StagedFile&) = delete;
  ~StagedFile() {
    if (!path_.isEmpty()) QFile::remove(path_);
  }
  const QString& fileName() const { return path_; }
  void keep() { path_.clear(); }

 private:
  QString path_;
};

// The staged movie lies beside the target, so that renaming it into place is atomic. It is made
// as any new file is (0666 less the umask), or with the target's permissions when it exists.
std::optional<StagedFile> stagedBeside(const QFileInfo& target) {
  const QDir folder = target.absoluteDir();
  for (int attempt = 0; attempt < 100; ++attempt) {
    const QString path =
        folder.filePath(QStringLiteral(".%1-%2.mp4")
                            .arg(target.completeBaseName())
                            .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
    const int fd = ::open(QFile::encodeName(path).constData(), O_CREAT | O_EXCL | O_WRONLY, 0666);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return std::nullopt;
    }
    ::close(fd);
    StagedFile staged(path);
    if (target.exists()) QFile::setPermissions(path, QFile::permissions(target.filePath()));
    return staged;
  }
  return std::nullopt;
}

}  // namespace

Status writeMp4Movie(const MovieRequest& movie, const RenderControl& control, const QString& path) {
  const QString program = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
  if (program.isEmpty()) return Failure{kNoFfmpegMessage};
  const QFileInfo target(path);
  if (target.exists() && !target.isFile()) return Failure{kMovieSaveMessages.other};
  std::optional<StagedFile> made = stagedBeside(target);
  if (!made) return Failure{kMovieSaveMessages.other};
  StagedFile& staged = *made;

  QProcess ffmpeg;
  ffmpeg.setProcessChannelMode(QProcess::SeparateChannels);
  ffmpeg.setStandardOutputFile(QProcess::nullDevice());
  ffmpeg.start(program, ffmpegArguments(movie, staged.fileName()));
  if (!ffmpeg.waitForStarted()) return Failure{kNoFfmpegMessage};
  const auto stop = [&ffmpeg](Status why) {
    ffmpeg.kill();
    ffmpeg.waitForFinished();
    return why;
  };

  const int width = movie.picture.width, height = movie.picture.height;
  std::vector<std::uint16_t> values(std::size_t(width) * 3);
  QByteArray line(qsizetype(width) * 3, Qt::Uninitialized);
  for (int frame = 0; frame < movie.frameCount; ++frame) {
    const Status drawn = renderFrameRows(
        movie, frame, frameControl(control, frame, movie.frameCount),
        [&](const RowSource& row) -> Status {
          for (int y = 0; y < height; ++y) {
            row(y, values.data());
            for (qsizetype i = 0; i < line.size(); ++i) {
              line[i] = char(eightBits(values[std::size_t(i)]));
            }
            ffmpeg.write(line);
            if (!drain(ffmpeg, control, kPipeBacklog)) {
              return control.cancelled() ? Failure{kMovieCancelledMessage} : ffmpegFailure(ffmpeg);
            }
          }
          return {};
        });
    if (!drawn) {
      return stop(control.cancelled() ? Failure{kMovieCancelledMessage} : drawn);
    }
  }
  if (!drain(ffmpeg, control, 0)) {
    return stop(control.cancelled() ? Failure{kMovieCancelledMessage} : ffmpegFailure(ffmpeg));
  }
  ffmpeg.closeWriteChannel();
  while (!ffmpeg.waitForFinished(kWaitMilliseconds)) {
    if (control.cancelled()) return stop(Failure{kMovieCancelledMessage});
    if (ffmpeg.state() == QProcess::NotRunning) break;
  }
  if (ffmpeg.exitStatus() != QProcess::NormalExit || ffmpeg.exitCode() != 0) {
    return ffmpegFailure(ffmpeg);
  }
  if (std::rename(QFile::encodeName(staged.fileName()).constData(),
                  QFile::encodeName(path).constData()) != 0) {
    return Failure{kMovieSaveMessages.other};
  }
  staged.keep();  // renamed: nothing left to remove
  control.report(1);
  return {};
}

}  // namespace quill
