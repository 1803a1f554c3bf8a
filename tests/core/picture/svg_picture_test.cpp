#include "core/picture/svg_picture.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QXmlStreamWriter>
#include <string>
#include <vector>

#include "core/picture/shaded_picture.h"
#include "core/picture/svg_figures.h"
#include "core/render/render_fixtures.h"
#include "support/row_name.h"

namespace quill {
namespace {

using testing::drawingState;
using testing::kHalfMaps;

// Ten maps that shrink by 0.9 only: the figures never become small enough to merge, and each
// depth is ten times the file of the one before.
std::vector<WeightedMap> tenShrinkingMaps() {
  std::vector<WeightedMap> maps;
  for (int i = 0; i < 10; ++i) maps.push_back({{0.9, 0, 0, 0.9, 0.01 * i, 0.005 * i}, 0.1});
  return maps;
}

PictureRequest svgRequest() {
  PictureRequest request;
  request.width = 160;
  request.height = 120;
  request.format = PictureFormat::Svg;
  return request;
}

struct SvgRow {
  std::string name;
  std::vector<WeightedMap> maps;
  DrawingKind kind;
  int depth;
  const char* message;  // the refusal; empty when the file is written
};

class SvgFiles : public ::testing::TestWithParam<SvgRow> {};

// A file that would not read back (a coordinate beyond any number) or would pass 256 MB is
// refused before anything is written, naming the largest depth that can be; the earlier file
// stays. Every file written holds finite numbers only.
TEST_P(SvgFiles, HoldFiniteNumbersWithinTheLimit) {
  const SvgRow& row = GetParam();
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("drawing.svg"));
  {
    QFile earlier(path);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly) && earlier.write("earlier") == 7);
  }
  const PictureInputs inputs{drawingState(row.maps, row.depth), row.kind};
  const Status written = renderPicture(inputs, svgRequest(), RenderControl{}, path);
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  if (*row.message != 0) {
    EXPECT_EQ(written.message().toStdString(), row.message);
    EXPECT_EQ(bytes, "earlier");
  } else {
    EXPECT_TRUE(written.ok()) << written.message().toStdString();
    EXPECT_TRUE(bytes.contains("<polygon"));
    EXPECT_FALSE(bytes.contains("inf") || bytes.contains("nan"));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SvgFiles,
    ::testing::Values(
        SvgRow{"ten maps of ratio 0.9 at depth 8", tenShrinkingMaps(), DrawingKind::SquareFractal,
               8,
               "An SVG of this fractal at depth 8 would take more than 256 MB. The largest depth "
               "that fits is 6."},
        SvgRow{"ten maps of ratio 0.9 at the largest depth that fits", tenShrinkingMaps(),
               DrawingKind::TriangleFractal, 5, ""},
        SvgRow{"a map of 1e30 at depth 5",
               {{{1e30, 0, 0, 1e30, 0, 0}, 0.5}, kHalfMaps[1]},
               DrawingKind::TriangleFractal,
               5,
               "The maps carry this fractal at depth 5 beyond the coordinates an SVG file can "
               "hold. The largest depth that can be written is 1."},
        SvgRow{"a map of 1e300 in the blue print",
               {{{1e300, 0, 0, 1e300, 0, 0}, 1}},
               DrawingKind::BluePrint,
               1,
               "The maps carry the blue print beyond the coordinates an SVG file can hold."},
        SvgRow{"a map of 1e30 in the blue print",
               {{{1e30, 0, 0, -1e30, 0, 0}, 1}},
               DrawingKind::BluePrint,
               1,
               ""}),
    testing::RowName{});

struct BoundRow {
  std::string name;
  std::vector<WeightedMap> maps;
  DrawingKind kind;
  int depth;
};

class SvgCount : public ::testing::TestWithParam<BoundRow> {};

// The count that decides whether a file may be written holds at least as many bytes as the
// figures take when written, so a file that passes never passes the limit; and not so many more
// that it refuses files far below it.
TEST_P(SvgCount, BoundsTheBytesWritten) {
  const BoundRow& row = GetParam();
  const PictureRequest request = svgRequest();
  const PictureInputs inputs{drawingState(row.maps, row.depth), row.kind};
  const DrawingState drawing = pictureState(inputs, request, request.width, request.height);
  const bool square = row.kind != DrawingKind::TriangleFractal;
  const bool numbered = row.kind == DrawingKind::BluePrint;

  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QXmlStreamWriter xml(&buffer);
  xml.setAutoFormatting(true);
  xml.setAutoFormattingIndent(0);
  xml.writeStartElement(QStringLiteral("g"));
  xml.writeCharacters(QString());  // ends the start tag
  const qint64 before = buffer.size();
  SvgFigures writer(&xml, drawing, square, numbered, request, RenderControl{});
  ASSERT_EQ(writer.draw(), SvgFigures::Outcome::Done);
  writer.writeCovered();
  const double written = double(buffer.size() - before);

  SvgFigures counter(nullptr, drawing, square, numbered, request, RenderControl{}, 1e18);
  ASSERT_EQ(counter.draw(), SvgFigures::Outcome::Done);
  counter.writeCovered();
  EXPECT_GE(counter.bytes(), written);
  EXPECT_LE(counter.bytes(), 2 * written);
}

INSTANTIATE_TEST_SUITE_P(Rows, SvgCount,
                         ::testing::Values(BoundRow{"numbered blue print", tenShrinkingMaps(),
                                                    DrawingKind::BluePrint, 1},
                                           BoundRow{"square fractal", tenShrinkingMaps(),
                                                    DrawingKind::SquareFractal, 3},
                                           BoundRow{"triangles merged into covered pixels",
                                                    {kHalfMaps[0], kHalfMaps[1], kHalfMaps[2]},
                                                    DrawingKind::TriangleFractal,
                                                    12},
                                           BoundRow{"coordinates in exponent form",
                                                    {{{-1e30, 0, 0, 1e30, 0, 0}, 0.5},
                                                     {{1e-30, 0, 0, -1e-30, 0, 0}, 0.5}},
                                                    DrawingKind::SquareFractal,
                                                    1}),
                         testing::RowName{});

}  // namespace
}  // namespace quill
