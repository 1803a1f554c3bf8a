#include "core/collage/target.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <functional>
#include <string>

#include "support/row_name.h"

namespace quill {
namespace {

QImage filled(QColor colour, int width = 80, int height = 60) {
  QImage image(width, height, QImage::Format_ARGB32);
  image.fill(colour);
  return image;
}

// A dark (light, when `light`) rectangle on the other shade, with a faint noise of shades.
QImage rectangle(QRect shape, bool light) {
  QImage image = filled(light ? QColor(20, 20, 30) : QColor(240, 235, 230), 200, 150);
  QPainter painter(&image);
  painter.fillRect(shape, light ? QColor(230, 230, 210) : QColor(30, 60, 20));
  return image;
}

struct RefusalRow {
  std::string name;
  std::function<QImage()> image;
  bool invert;
  QString message;
};

class TargetRefusals : public ::testing::TestWithParam<RefusalRow> {};

TEST_P(TargetRefusals, SayWhyThereIsNoShape) {
  const RefusalRow& row = GetParam();
  const Result<Target> target = targetFromImage(row.image(), row.invert);
  ASSERT_FALSE(target.ok());
  EXPECT_EQ(target.message(), row.message);
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, TargetRefusals,
    ::testing::Values(
        RefusalRow{"white", [] { return filled(Qt::white); }, false, kBlankTargetMessage},
        RefusalRow{"transparent", [] { return filled(Qt::transparent); }, false,
                   kBlankTargetMessage},
        RefusalRow{"light grey with a faint speck",
                   [] {
                     QImage image = filled(QColor(200, 200, 200));
                     image.setPixelColor(3, 4, QColor(190, 190, 190));
                     return image;
                   },
                   false, kBlankTargetMessage},
        RefusalRow{"black", [] { return filled(Qt::black); }, false, kDarkTargetMessage},
        RefusalRow{"dark with a few light specks",
                   [] {
                     QImage image = filled(QColor(10, 10, 10));
                     image.setPixelColor(3, 4, Qt::white);
                     return image;
                   },
                   false, kDarkTargetMessage},
        RefusalRow{"black, inverted", [] { return filled(Qt::black); }, true,
                   kBlankInvertedTargetMessage},
        RefusalRow{"transparent, inverted", [] { return filled(Qt::transparent); }, true,
                   kBlankInvertedTargetMessage},
        RefusalRow{"white, inverted", [] { return filled(Qt::white); }, true, kLightTargetMessage},
        RefusalRow{"no pixels", [] { return QImage(); }, false, kBlankTargetMessage}),
    testing::RowName{});

TEST(Target, FileThatIsNoPictureIsRefusedByName) {
  QTemporaryDir folder;
  const QString text = folder.filePath(QStringLiteral("leaf.png"));
  QFile file(text);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("these are words, not pixels\n");
  file.close();
  for (const QString& name :
       {text, folder.filePath(QStringLiteral("missing.png")), folder.path()}) {
    SCOPED_TRACE(name.toStdString());
    const Result<Target> target = loadTarget(name, false);
    ASSERT_FALSE(target.ok());
    EXPECT_TRUE(target.message().startsWith(QStringLiteral("\"%1\" is not a picture").arg(name)))
        << target.message().toStdString();
  }
}

struct PlacementRow {
  std::string name;
  QRect shape;
  bool light;
};

class TargetPlacement : public ::testing::TestWithParam<PlacementRow> {};

// The shape's longer side fills 96 % of the square, centred, whatever its place in the picture.
TEST_P(TargetPlacement, CentresTheShapeFillingTheSquare) {
  const PlacementRow& row = GetParam();
  QTemporaryDir folder;
  const QString name = folder.filePath(QStringLiteral("shape.png"));
  ASSERT_TRUE(rectangle(row.shape, row.light).save(name));
  const Result<Target> target = loadTarget(name, row.light);
  ASSERT_TRUE(target.ok()) << target.message().toStdString();
  const CollageGrid grid = target->mask.grid;
  const CellWindow& box = target->box;
  const double longer = std::max(row.shape.width(), row.shape.height());
  const double width = kTargetSide * grid.resolution * row.shape.width() / longer;
  const double height = kTargetSide * grid.resolution * row.shape.height() / longer;
  EXPECT_NEAR(box.width, width, 1.0);
  EXPECT_NEAR(box.height, height, 1.0);
  EXPECT_NEAR(box.x + box.width / 2.0, grid.margin + grid.resolution / 2.0, 1.0);
  EXPECT_NEAR(box.y + box.height / 2.0, grid.margin + grid.resolution / 2.0, 1.0);
  EXPECT_EQ(std::int64_t(target->cellList.size()), std::int64_t(box.width) * box.height);
}

INSTANTIATE_TEST_SUITE_P(Shapes, TargetPlacement,
                         ::testing::Values(PlacementRow{"wide dark", QRect(10, 40, 150, 50), false},
                                           PlacementRow{"tall light", QRect(120, 5, 30, 140), true},
                                           PlacementRow{"one pixel", QRect(7, 9, 1, 1), false}),
                         testing::RowName{});

}  // namespace
}  // namespace quill
