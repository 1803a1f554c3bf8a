#include "core/params/param_file.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <optional>

#include "core/maps/map_table.h"
#include "core/maps/number_text.h"
#include "core/params/field_reader.h"

namespace quill {

namespace {

Failure invalidFormat() { return Failure{kInvalidFormatMessage}; }

FileValue toValue(const Field& field) {
  const std::optional<double> number = parseNumber(field.text);
  FileValue value;
  value.number = number.value_or(0.0);
  // Quoted text stays text even when it spells a number, as it was written.
  value.panelText = (number && !field.quoted) ? numberToText(*number) : field.text;
  return value;
}

// Reads `count` map rows; false when the file ends early or a field is malformed.
bool readRows(FieldReader& reader, int count, std::vector<FileRow>& rows) {
  rows.reserve(std::size_t(count));
  Field field;
  for (int row = 0; row < count; ++row) {
    FileRow values;
    for (FileValue& value : values) {
      if (reader.next(field) != FieldStatus::Ok) return false;
      value = toValue(field);
    }
    rows.push_back(std::move(values));
  }
  return true;
}

// Opens `path` for reading, telling a missing file from one that exists but cannot be read.
Status openForReading(QFile& file) {
  if (!QFileInfo::exists(file.fileName())) return Failure{kFileNotFoundMessage};
  // A folder opens on some platforms and then reads as empty; it is no parameter file.
  if (QFileInfo(file.fileName()).isDir()) return invalidFormat();
  if (!file.open(QIODevice::ReadOnly)) return invalidFormat();
  return {};
}

}  // namespace

void storeRows(const FileRows& rows, MapTable& maps) {
  maps.mapCount = std::min(int(rows.size()), kMaxMaps);
  for (int i = 1; i <= maps.mapCount; ++i) {
    const FileRow& row = rows[std::size_t(i - 1)];
    maps.mapA[i] = row[kColA].number;
    maps.mapB[i] = row[kColB].number;
    maps.mapC[i] = row[kColC].number;
    maps.mapD[i] = row[kColD].number;
    maps.mapE[i] = row[kColE].number;
    maps.mapF[i] = row[kColF].number;
    maps.mapP[i] = row[kColP].number;
  }
}

Result<FileRows> readSavedLayout(QIODevice& device) {
  FieldReader reader(device);
  Field countField;
  if (reader.next(countField) != FieldStatus::Ok) return invalidFormat();
  const std::optional<double> count = parseNumber(countField.text);
  if (!count) return invalidFormat();
  // Rows 1, 2, ... while the row number is not above the count: the whole part of it.
  const double wholeRows = std::floor(*count);
  // A count of 0 or less reads no rows; one beyond 32 bits (-1e300) is no count at all.
  if (wholeRows > kMaxMaps || !roundToInt32(wholeRows)) return invalidFormat();
  FileRows rows;
  if (wholeRows >= 1 && !readRows(reader, int(wholeRows), rows)) return invalidFormat();
  return rows;
}

Result<FileRows> readSavedFile(const QString& path) {
  QFile file(path);
  if (const Status opened = openForReading(file); !opened) return Failure{opened.message()};
  return readSavedLayout(file);
}

Result<FileRows> readPresetLayout(QIODevice& device, int mapCount) {
  FieldReader reader(device);
  FileRows rows;
  if (!readRows(reader, mapCount, rows)) return invalidFormat();
  return rows;
}

Result<FileRows> readPresetFile(const QString& path, int mapCount) {
  QFile file(path);
  if (const Status opened = openForReading(file); !opened) return Failure{opened.message()};
  return readPresetLayout(file, mapCount);
}

QByteArray savedLayoutText(const MapTable& maps) {
  const int count = std::clamp(maps.mapCount, 0, kMaxMaps);
  QByteArray text = QByteArray::number(count) + "\r\n";
  for (int i = 1; i <= count; ++i) {
    const QStringList fields = {numberToText(maps.mapA[i]), numberToText(maps.mapB[i]),
                                numberToText(maps.mapC[i]), numberToText(maps.mapD[i]),
                                numberToText(maps.mapE[i]), numberToText(maps.mapF[i]),
                                numberToText(maps.mapP[i])};
    text += fields.join(u',').toLatin1() + "\r\n";
  }
  return text;
}

}  // namespace quill
