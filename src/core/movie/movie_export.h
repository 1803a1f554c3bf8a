#pragma once

#include <QString>
#include <optional>

#include "core/base/render_control.h"
#include "core/base/result.h"
#include "core/morph/animation.h"
#include "core/picture/picture.h"
#include "core/picture/shaded_picture.h"

namespace quill {

// What an animation is exported as, from the output's name: numbered PNG pictures (a name with
// one printf-style number such as frames_%05d.png), an animated GIF, or an MP4 made by ffmpeg.
enum class MovieFormat { PngSequence, Gif, Mp4 };

// The format of `path`: .gif, .mp4, or .png holding one %d (%05d and the like); nothing else.
std::optional<MovieFormat> movieFormatFor(const QString& path);

// The name of frame `number` (from 1) of a PNG sequence: the pattern's %d filled in.
QString framePath(const QString& pattern, int number);

// What an export renders: each frame is the picture `picture` asks for, drawn from `inputs` (the
// drawing square, colours, count and kind of drawing) with the frame's maps in its table.
struct MovieRequest {
  PictureInputs inputs;
  PictureRequest picture;  // its format: Png8 or Png16 for a PNG sequence; ignored otherwise
  AnimationPlan plan;
  int frameCount = 2;
  double framesPerSecond = 25;
  // The fractal's figure of each key (triangle or square, as its pattern draws it), so that the
  // keys' frames are their own pictures: a frame takes the nearer key's. Empty: inputs.kind.
  std::vector<DrawingKind> keyKinds;
};

inline constexpr int kMaxFrames = 100'000;
inline constexpr double kMinFramesPerSecond = 1;
inline constexpr double kMaxFramesPerSecond = 60;

inline const QString kNoFfmpegMessage = QStringLiteral(QT_TRANSLATE_NOOP(
    "Messages",
    "Cannot make an MP4: the ffmpeg program is not installed (or not on the PATH). Install "
    "ffmpeg, or export a GIF or numbered PNG pictures instead."));
inline const QString kMovieCancelledMessage = QStringLiteral(
    QT_TRANSLATE_NOOP("Messages", "The export was cancelled; no movie was written."));
inline const SaveMessages kMovieSaveMessages = {
    QStringLiteral(QT_TRANSLATE_NOOP("Messages", "Cannot save the movie: disk full.")),
    QStringLiteral(QT_TRANSLATE_NOOP("Messages", "Cannot save the movie. Please try again."))};

// The inputs of frame `frame` (from 0): the request's with the frame's system in the table and the
// nearer key's kind of drawing.
PictureInputs frameInputs(const MovieRequest& movie, int frame);

// `control` for one frame of `frameCount`: its progress a share of the whole export's.
RenderControl frameControl(const RenderControl& control, int frame, int frameCount);

// Renders frame `frame` as renderPicture would and hands its rows to `sink`.
Status renderFrameRows(const MovieRequest& movie, int frame, const RenderControl& control,
                       const RowSink& sink);

// Renders every frame and writes the movie. A GIF or an MP4 is made in a staged file that takes
// the place of `path` only once complete, so a cancelled or failed export leaves an earlier file
// as it was; each PNG of a sequence is written whole as renderPicture writes it (frames written
// before a cancel stay). Progress runs once from 0 to 1 over the frames. Fails with the render's
// or the writer's message, kMovieCancelledMessage, or kNoFfmpegMessage.
Status exportMovie(const MovieRequest& movie, const RenderControl& control, const QString& path);

}  // namespace quill
