#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>

#include "core/picture/picture.h"
#include "core/picture/picture_rows.h"
#include "core/render/render_fixtures.h"
#include "support/row_name.h"

namespace quill {
namespace {

using testing::drawingState;
using testing::kHalfMaps;

QByteArray contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

PictureInputs gasket(DrawingKind kind, int count) {
  return {drawingState({kHalfMaps[0], kHalfMaps[1], kHalfMaps[2]}, count), kind};
}

// A picture of each type comes out as Qt's own writer makes the same picture, byte for byte: the
// rows written one at a time (BMP from the bottom up, each padded to 4 bytes, blue first; JPEG
// through libjpeg) against the rendered PNG read back and written whole. An odd width pads.
struct TypeRow {
  const char* name;
  const char* file;  // its extension picks the type
  DrawingKind kind;
  int count;
  Shading shading;
  int supersample;
  const char* qtFormat;
};

class PictureTypes : public ::testing::TestWithParam<TypeRow> {};

TEST_P(PictureTypes, HoldWhatQtsWriterMakesOfThePicture) {
  const TypeRow& row = GetParam();
  QTemporaryDir dir;
  const PictureInputs inputs = gasket(row.kind, row.count);
  PictureRequest request;
  request.width = 161;
  request.height = 97;
  request.shading = row.shading;
  request.supersample = row.supersample;
  request.pen = rgb(20, 90, 200);
  const QString reference = dir.filePath(QStringLiteral("reference.png"));
  ASSERT_TRUE(renderPicture(inputs, request, {}, reference));

  const QString file = dir.filePath(QString::fromLatin1(row.file));
  request.format = pictureFormatFor(file, false).value_or(PictureFormat::QtImage);
  const Status written = renderPicture(inputs, request, {}, file);
  ASSERT_TRUE(written) << written.message().toStdString();
  QByteArray expected;
  QBuffer buffer(&expected);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, row.qtFormat);
  ASSERT_TRUE(writer.write(QImage(reference).convertToFormat(QImage::Format_RGB32)));
  EXPECT_TRUE(contents(file) == expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PictureTypes,
    ::testing::Values(TypeRow{"bmp_flat_chaos_game", "x.bmp", DrawingKind::ChaosGame, 20000,
                              Shading::Flat, 1, "bmp"},
                      TypeRow{"jpeg_fractal_capital_extension", "x.JPG",
                              DrawingKind::TriangleFractal, 5, Shading::Flat, 1, "jpeg"},
                      TypeRow{"bmp_density_supersampled", "x.bmp", DrawingKind::ChaosGame, 50000,
                              Shading::Density, 2, "bmp"},
                      TypeRow{"jpeg_by_map", "x.jpeg", DrawingKind::ChaosGame, 50000,
                              Shading::ByMap, 1, "jpeg"},
                      TypeRow{"ppm_blue_print_as_a_whole_picture", "x.ppm", DrawingKind::BluePrint,
                              1, Shading::Flat, 1, "ppm"}),
    testing::RowName());

// Accepts `room` bytes, then fails as a full disk does.
class FillingDevice : public QIODevice {
 public:
  explicit FillingDevice(qint64 room) : room_(room) { open(QIODevice::WriteOnly); }

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char*, qint64 size) override {
    if (size > room_) return -1;
    room_ -= size;
    return size;
  }

 private:
  qint64 room_;
};

struct WriterRow {
  const char* name;
  PictureFormat format;
};

class RowWriters : public ::testing::TestWithParam<WriterRow> {};

// A device that fills, in the header or among the rows, and a cancelled render end the writer
// with their failure: no crash, no success.
TEST_P(RowWriters, StopWhenTheDeviceFillsOrTheRenderIsCancelled) {
  const RowSource grey = [](int y, std::uint16_t* values) {
    for (int i = 0; i < 3 * 300; ++i) values[i] = std::uint16_t((y * 7919 + i * 104729) ^ (i * y));
  };
  for (const qint64 room : {qint64(20), qint64(30000)}) {
    SCOPED_TRACE(room);
    FillingDevice device(room);
    const Status status =
        writePictureRows(device, GetParam().format, 300, 200, grey, RenderControl{}, 0);
    EXPECT_EQ(status.message(), kRenderedPictureMessages.other);
  }
  const std::atomic<bool> cancel{true};
  RenderControl control;
  control.cancel = &cancel;
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  EXPECT_EQ(writePictureRows(buffer, GetParam().format, 300, 200, grey, control, 0).message(),
            kPictureCancelledMessage);
}

INSTANTIATE_TEST_SUITE_P(Rows, RowWriters,
                         ::testing::Values(WriterRow{"png8", PictureFormat::Png8},
                                           WriterRow{"png16", PictureFormat::Png16},
                                           WriterRow{"bmp", PictureFormat::Bmp},
                                           WriterRow{"jpeg", PictureFormat::Jpeg}),
                         testing::RowName());

// The types a name asks for, and the memory of a type that holds the whole picture: a flat
// 16384 × 16384 PNG fits, the same picture for Qt's other writers does not.
TEST(PictureTypeNames, PickTheTypeAndItsMemory) {
  EXPECT_EQ(pictureFormatFor(QStringLiteral("a/b.v2/picture"), false), PictureFormat::Png8);
  EXPECT_EQ(pictureFormatFor(QStringLiteral("picture.PNG"), true), PictureFormat::Png16);
  EXPECT_EQ(pictureFormatFor(QStringLiteral("picture.svg"), true), PictureFormat::Svg);
  EXPECT_EQ(pictureFormatFor(QStringLiteral("picture.gif"), false), std::nullopt);
  PictureRequest poster;
  poster.width = poster.height = kMaxPictureSide;
  EXPECT_TRUE(checkPictureRequest(poster, PictureMode::Fractal));
  poster.format = PictureFormat::QtImage;
  EXPECT_TRUE(checkPictureRequest(poster, PictureMode::Fractal)
                  .message()
                  .contains(QStringLiteral("The largest of that shape that fits is")));
}

}  // namespace
}  // namespace quill
