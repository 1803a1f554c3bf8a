#pragma once

#include <QString>

#include "core/base/result.h"

namespace quill {

struct MovieRequest;
struct RenderControl;

// The frames as an H.264 MP4 (yuv420p, the size padded to even sides with the paper colour),
// made by piping raw frames to the ffmpeg program found on the PATH into a staged file beside
// `path` that takes its place only once ffmpeg has finished it. Fails with kNoFfmpegMessage when
// there is no ffmpeg, with ffmpeg's own last words when it fails.
Status writeMp4Movie(const MovieRequest& movie, const RenderControl& control, const QString& path);

}  // namespace quill
