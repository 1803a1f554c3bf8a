#include "core/picture/picture_record.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>
#include <cmath>
#include <cstring>
#include <limits>

#include "core/picture/picture_carrier.h"

namespace quill {
namespace {

PictureRecord sampleRecord() {
  PictureRecord record;
  record.mode = PictureMode::ChaosGame;
  record.count = 123456;
  record.caption = QStringLiteral("Fern \u00e9t\u00e9 \"quoted\"");
  record.pattern = 8;
  record.maps = {{{0.1, 1.0 / 3, 0.0, 5e-324, 1e300, -2.5e-7}, 0.7},
                 {{0.85, 0.04, -0.04, 0.85, 0.071089, 0.178017}, 0.3}};
  record.width = 640;
  record.height = 480;
  record.pen = 0x1A5E20;
  record.paper = 0xFFF8E0;
  record.shading = Shading::ByMap;
  record.gamma = 1.0 / 7;
  record.tone = Tone::Mean;
  record.gammaThreshold = 0.05;
  record.transparent = true;
  record.supersample = 3;
  record.mapColours = {0xE6194B, 0x3CB44B};
  record.depth16 = true;
  record.seed = std::numeric_limits<std::uint64_t>::max();
  record.generatorState = 0x0123456789ABCDEFULL;
  record.programVersion = QStringLiteral("0.1");
  return record;
}

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(PictureRecord, ReadsBackWhatItWroteToTheBit) {
  const PictureRecord written = sampleRecord();
  const Result<PictureRecord> read = readRecordText(recordText(written));
  ASSERT_TRUE(read) << read.message().toStdString();
  EXPECT_EQ(read->mode, written.mode);
  EXPECT_EQ(read->count, written.count);
  EXPECT_EQ(read->caption, written.caption);
  EXPECT_EQ(read->pattern, written.pattern);
  ASSERT_EQ(read->maps.size(), written.maps.size());
  for (std::size_t i = 0; i < written.maps.size(); ++i) {
    const PlaneMap& a = read->maps[i].map;
    const PlaneMap& b = written.maps[i].map;
    for (const auto& [x, y] : {std::pair{a.a, b.a},
                               {a.b, b.b},
                               {a.c, b.c},
                               {a.d, b.d},
                               {a.e, b.e},
                               {a.f, b.f},
                               {read->maps[i].p, written.maps[i].p}}) {
      EXPECT_TRUE(sameBits(x, y)) << x << " read back as " << y;
    }
  }
  EXPECT_EQ(read->width, 640);
  EXPECT_EQ(read->height, 480);
  EXPECT_EQ(read->pen, written.pen);
  EXPECT_EQ(read->paper, written.paper);
  EXPECT_EQ(read->shading, Shading::ByMap);
  EXPECT_TRUE(sameBits(read->gamma, written.gamma));
  EXPECT_EQ(read->tone, Tone::Mean);
  EXPECT_TRUE(sameBits(read->gammaThreshold, written.gammaThreshold));
  EXPECT_TRUE(read->transparent);
  EXPECT_EQ(read->supersample, 3);
  EXPECT_EQ(read->mapColours, written.mapColours);
  EXPECT_TRUE(read->depth16);
  EXPECT_EQ(read->seed, written.seed);
  EXPECT_EQ(read->generatorState, written.generatorState);
  // A negative zero draws as zero does, and is written so.
  PictureRecord negativeZero = written;
  negativeZero.maps[0].map.c = -0.0;
  EXPECT_EQ(recordText(negativeZero), recordText(written));
  // The same record, the same bytes: a picture rendered again carries the very chunk.
  EXPECT_EQ(recordText(*read), recordText(written));
}

struct DamageRow {
  const char* name;
  const char* from;   // replaced in the sample's text …
  const char* to;     // … by this
  const char* names;  // what the message names
};

class DamagedRecords : public ::testing::TestWithParam<DamageRow> {};

TEST_P(DamagedRecords, AreRefusedNamingWhatIsWrong) {
  QByteArray text = recordText(sampleRecord());
  ASSERT_TRUE(text.contains(GetParam().from)) << text.toStdString();
  text.replace(GetParam().from, GetParam().to);
  const Result<PictureRecord> read = readRecordText(text);
  ASSERT_FALSE(read);
  EXPECT_TRUE(read.message().contains(QString::fromLatin1(GetParam().names)))
      << read.message().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DamagedRecords,
    ::testing::Values(
        DamageRow{"CutShort", "\"width\":640}", "\"width\":6", "damaged"},
        DamageRow{"AnotherFormat", "quillmere-picture", "other", "format"},
        DamageRow{"NewerVersion", "\"version\":1", "\"version\":2", "newer"},
        DamageRow{"VersionNotANumber", "\"version\":1", "\"version\":\"1\"", "version"},
        DamageRow{"UnknownMode", "\"chaos\"", "\"spiral\"", "mode"},
        DamageRow{"CountBeyond32Bits", "123456", "4294967296", "count"},
        DamageRow{"FractionalCount", "123456", "1.5", "count"},
        DamageRow{"MapOfSixNumbers", "0.85,0.04,-0.04,0.85,0.071089,0.178017,0.3",
                  "0.85,0.04,-0.04,0.85,0.071089,0.178017", "maps"},
        DamageRow{"MapOfText", "0.85,0.04", "\"0.85\",0.04", "maps"},
        DamageRow{"WidthZero", "\"width\":640", "\"width\":0", "width"},
        DamageRow{"HeightBeyondTheLargest", "\"height\":480", "\"height\":16385", "height"},
        DamageRow{"PenNotAColour", "1A5E20", "1A5E2", "pen"},
        DamageRow{"GammaZero", "\"gamma\":0.14285714285714285", "\"gamma\":0", "gamma"},
        DamageRow{"UnknownTone", "\"tone\":\"mean\"", "\"tone\":\"bright\"", "tone"},
        DamageRow{"GammaThresholdAboveOne", "\"gammaThreshold\":0.05", "\"gammaThreshold\":1.5",
                  "gammaThreshold"},
        DamageRow{"TransparentNotTrueOrFalse", "\"transparent\":true", "\"transparent\":1",
                  "transparent"},
        DamageRow{"SupersampleFive", "\"supersample\":3", "\"supersample\":5", "supersample"},
        DamageRow{"UnknownPattern", "\"Fern\"", "\"Spiral\"", "pattern"},
        DamageRow{"SeedNegative", "18446744073709551615", "-1", "seed"},
        DamageRow{"SeedBeyond64Bits", "18446744073709551615", "18446744073709551616", "seed"}),
    [](const auto& row) { return std::string(row.param.name); });

// A PNG that Qt encodes through the inserter: the same pixels, the record readable, and the file
// without the chunk is what Qt alone writes.
TEST(PictureCarrier, AddsOneChunkToAPngAndChangesNothingElse) {
  QImage image(37, 23, QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, qRgb(x * 7, y * 11, x ^ y));
  }
  QByteArray plain;
  {
    QBuffer buffer(&plain);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(QImageWriter(&buffer, "png").write(image));
  }
  const QByteArray text = recordText(sampleRecord());
  const QByteArray chunk = pngTextChunk(kPictureRecordKeyword, text);
  QByteArray carried;
  {
    QBuffer buffer(&carried);
    buffer.open(QIODevice::WriteOnly);
    PngChunkInserter inserter(buffer, chunk);
    ASSERT_TRUE(QImageWriter(&inserter, "png").write(image));
  }
  QByteArray stripped = carried;
  const qsizetype at = stripped.indexOf(chunk);
  ASSERT_EQ(at, 33);
  stripped.remove(at, chunk.size());
  EXPECT_EQ(stripped, plain);
  EXPECT_EQ(QImage::fromData(carried).convertToFormat(QImage::Format_RGB32), image);

  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("carried.png"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(carried);
  file.close();
  const Result<PictureRecord> read = readPictureRecord(path);
  ASSERT_TRUE(read) << read.message().toStdString();
  EXPECT_EQ(recordText(*read), text);
}

struct FileRow {
  const char* name;
  QByteArray bytes;
  const char* says;
};

class PicturesWithoutARecord : public ::testing::TestWithParam<FileRow> {};

TEST_P(PicturesWithoutARecord, AreRefusedWithAMessage) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("picture"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(GetParam().bytes);
  file.close();
  const Result<PictureRecord> read = readPictureRecord(path);
  ASSERT_FALSE(read);
  EXPECT_TRUE(read.message().contains(QString::fromLatin1(GetParam().says)))
      << read.message().toStdString();
}

QByteArray pngSignature() { return QByteArray("\x89PNG\r\n\x1a\n", 8); }

QByteArray chunkWithLength(quint32 length, const char* type) {
  QByteArray bytes;
  for (int shift = 24; shift >= 0; shift -= 8) bytes.append(char((length >> shift) & 0xFF));
  return bytes + type;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PicturesWithoutARecord,
    ::testing::Values(
        FileRow{"Empty", QByteArray(), "does not say"},
        FileRow{"SignatureAlone", pngSignature(), "does not say"},
        FileRow{"ChunkLongerThanTheFile", pngSignature() + chunkWithLength(0x7FFFFFF0, "iTXt"),
                "does not say"},
        FileRow{"OurChunkCutShort",
                pngSignature() + chunkWithLength(40, "iTXt") + QByteArray("quillmere\0", 10),
                "does not say"},
        FileRow{"OurChunkCompressed",
                pngSignature() + chunkWithLength(14, "iTXt") +
                    QByteArray("quillmere\0\1\0\0\0", 14) + QByteArray(4, '\0'),
                "damaged"},
        FileRow{"OurChunkDamaged",
                pngSignature() + pngTextChunk(kPictureRecordKeyword, "{\"format\":"), "damaged"},
        FileRow{"SvgOfAnotherProgram",
                QByteArray("<?xml version=\"1.0\"?><svg xmlns=\"http://www.w3.org/2000/svg\">"
                           "<g/></svg>"),
                "does not say"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(PictureCarrier, AFileThatIsNotThereIsNamed) {
  const Result<PictureRecord> read = readPictureRecord(QStringLiteral("/nonexistent/fern.png"));
  ASSERT_FALSE(read);
  EXPECT_TRUE(read.message().contains(QStringLiteral("/nonexistent/fern.png")));
}

}  // namespace
}  // namespace quill
