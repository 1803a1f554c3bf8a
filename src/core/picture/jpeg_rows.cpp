// jpeglib.h needs FILE and size_t declared before it.
// clang-format off
#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include <QIODevice>
#include <csetjmp>
#include <memory>
#include <vector>

#include "core/picture/picture_rows.h"

namespace quill {

namespace {

// Qt's own default, so that a picture comes out as Qt's writer makes it.
constexpr int kJpegQuality = 75;
constexpr std::size_t kOutputBytes = 64 * 1024;

// libjpeg reports errors by calling error_exit, which must not return: it jumps back to the
// setjmp of the call that failed. Warnings are not printed.
struct ErrorJump {
  jpeg_error_mgr manager;  // first, so that libjpeg's pointer to it is a pointer to this
  std::jmp_buf jump;
};

[[noreturn]] void jumpBack(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorJump*>(info->err)->jump, 1);
}

void printNothing(j_common_ptr /*info*/) {}

// The compressed bytes go to the device through a buffer of kOutputBytes.
struct DeviceDestination {
  jpeg_destination_mgr manager;  // first, as above
  QIODevice* device = nullptr;
  JOCTET buffer[kOutputBytes];
};

void startOutput(j_compress_ptr info) {
  auto* destination = reinterpret_cast<DeviceDestination*>(info->dest);
  destination->manager.next_output_byte = destination->buffer;
  destination->manager.free_in_buffer = kOutputBytes;
}

boolean writeFullBuffer(j_compress_ptr info) {
  auto* destination = reinterpret_cast<DeviceDestination*>(info->dest);
  const qint64 written =
      destination->device->write(reinterpret_cast<const char*>(destination->buffer), kOutputBytes);
  if (written != qint64(kOutputBytes)) ERREXIT(info, JERR_FILE_WRITE);
  startOutput(info);
  return TRUE;
}

void writeRest(j_compress_ptr info) {
  auto* destination = reinterpret_cast<DeviceDestination*>(info->dest);
  const auto count = qint64(kOutputBytes - destination->manager.free_in_buffer);
  if (destination->device->write(reinterpret_cast<const char*>(destination->buffer), count) !=
      count) {
    ERREXIT(info, JERR_FILE_WRITE);
  }
}

// Each libjpeg call is wrapped in a function of its own that holds nothing to destroy, so the
// jump skips no destructor; each returns false when libjpeg failed.
bool create(jpeg_compress_struct& info, ErrorJump& errors) {
  if (setjmp(errors.jump)) return false;
  jpeg_create_compress(&info);
  return true;
}

bool start(jpeg_compress_struct& info, ErrorJump& errors, int width, int height) {
  if (setjmp(errors.jump)) return false;
  info.image_width = JDIMENSION(width);
  info.image_height = JDIMENSION(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, kJpegQuality, TRUE);
  info.density_unit = 1;  // dots per inch: 96, as the canvas has (15 twips a pixel)
  info.X_density = 96;
  info.Y_density = 96;
  jpeg_start_compress(&info, TRUE);
  return true;
}

bool writeLine(jpeg_compress_struct& info, ErrorJump& errors, JSAMPROW line) {
  if (setjmp(errors.jump)) return false;
  jpeg_write_scanlines(&info, &line, 1);
  return true;
}

bool finish(jpeg_compress_struct& info, ErrorJump& errors) {
  if (setjmp(errors.jump)) return false;
  jpeg_finish_compress(&info);
  return true;
}

// Owns libjpeg's state; the destination is large, so it lives on the heap.
struct JpegWriter {
  jpeg_compress_struct info{};
  ErrorJump errors{};
  std::unique_ptr<DeviceDestination> destination = std::make_unique<DeviceDestination>();
  bool created = false;
  ~JpegWriter() {
    if (created) jpeg_destroy_compress(&info);
  }
  Failure failure() const {
    return Failure{errors.manager.msg_code == JERR_OUT_OF_MEMORY ? kNoMemoryMessage
                                                                 : kRenderedPictureMessages.other};
  }
};

}  // namespace

Status writeJpegRows(QIODevice& device, int width, int height, const RowSource& row,
                     const RenderControl& control, double progressFrom) {
  JpegWriter writer;
  writer.info.err = jpeg_std_error(&writer.errors.manager);
  writer.errors.manager.error_exit = jumpBack;
  writer.errors.manager.output_message = printNothing;
  if (!create(writer.info, writer.errors)) return writer.failure();
  writer.created = true;
  writer.destination->device = &device;
  writer.destination->manager.init_destination = startOutput;
  writer.destination->manager.empty_output_buffer = writeFullBuffer;
  writer.destination->manager.term_destination = writeRest;
  writer.info.dest = &writer.destination->manager;
  if (!start(writer.info, writer.errors, width, height)) return writer.failure();

  std::vector<std::uint16_t> values(std::size_t(width) * 3);
  std::vector<JSAMPLE> line(values.size());
  for (int y = 0; y < height; ++y) {
    if (!rowBatchGoesOn(y, height, control, progressFrom)) {
      return Failure{kPictureCancelledMessage};
    }
    row(y, values.data());
    for (std::size_t i = 0; i < values.size(); ++i) line[i] = JSAMPLE(eightBits(values[i]));
    if (!writeLine(writer.info, writer.errors, line.data())) return writer.failure();
  }
  if (!finish(writer.info, writer.errors)) return writer.failure();
  control.report(1);
  return {};
}

}  // namespace quill
