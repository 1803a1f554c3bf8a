// Fuzzes the reader of what a picture carries: the record's JSON text.
//
// Checked: a refused text is damaged (naming what) or from a newer version; a read record is
// within the ranges the renderers take, and written out again it reads back as the same text,
// so a picture drawn again from it carries the very bytes it was drawn from.
#include <QByteArray>
#include <cmath>
#include <cstdint>

#include "core/maps/map_table.h"
#include "core/maps/panel_state.h"
#include "core/picture/picture_record.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quill;
  const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
  const Result<PictureRecord> read = readRecordText(text);
  if (!read) {
    const QString& message = read.message();
    FUZZ_CHECK(message.startsWith(QStringLiteral("What this picture says it was drawn from is "
                                                 "damaged")) ||
               message.startsWith(QStringLiteral("This picture was written by a newer")));
    return 0;
  }
  FUZZ_CHECK(read->width >= 1 && read->width <= kMaxPictureSide);
  FUZZ_CHECK(read->height >= 1 && read->height <= kMaxPictureSide);
  FUZZ_CHECK(read->supersample >= 1 && read->supersample <= kMaxSupersample);
  FUZZ_CHECK(std::isfinite(read->gamma) && read->gamma > 0);
  FUZZ_CHECK(read->gammaThreshold >= 0 && read->gammaThreshold <= 1);
  FUZZ_CHECK(read->maps.size() <= std::size_t(kMaxMaps));
  FUZZ_CHECK(read->mapColours.size() <= std::size_t(kMaxMaps));
  FUZZ_CHECK(!read->pattern || (*read->pattern >= 0 && *read->pattern < kPatternCount));
  const QByteArray written = recordText(*read);
  const Result<PictureRecord> again = readRecordText(written);
  FUZZ_CHECK(again.ok());
  FUZZ_CHECK(recordText(*again) == written);
  return 0;
}
