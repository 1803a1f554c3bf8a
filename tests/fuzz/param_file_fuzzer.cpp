// Fuzzes the parameter-file reader: every input is read as a saved file and as a preset file of
// three, four or five maps through a plain buffer, and in one of the two layouts through a device
// that hands out a few bytes at a time and through one that fails part way.
//
// Checked: a refused file yields no rows; a read yields the rows its layout asks for; the
// delivery of the bytes changes nothing; a device failure is never read as a shorter file;
// and a file read, saved and read again holds the same numbers and the same panel texts.
#include <QBuffer>
#include <QByteArray>
#include <QIODevice>
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/maps/map_table.h"
#include "core/maps/number_text.h"
#include "core/params/field_reader.h"
#include "core/params/param_file.h"
#include "fuzz_check.h"
#include "trickle_device.h"

namespace {

using namespace quill;
using testing::TrickleDevice;

// What a read gave: its rows, or the message of its refusal (empty when read).
struct ParamFileContent {
  QString error;
  FileRows rows;
};
ParamFileContent contentOf(const Result<FileRows>& read) {
  return read ? ParamFileContent{QString(), *read} : ParamFileContent{read.message(), {}};
}

bool sameRows(const ParamFileContent& x, const ParamFileContent& y) {
  if (x.error != y.error || x.rows.size() != y.rows.size()) return false;
  for (std::size_t r = 0; r < x.rows.size(); ++r) {
    for (int column = 0; column < kColumnCount; ++column) {
      const FileValue& a = x.rows[r][column];
      const FileValue& b = y.rows[r][column];
      if (a.panelText != b.panelText) return false;
      if (!(a.number == b.number)) return false;
    }
  }
  return true;
}

void checkContent(const ParamFileContent& content, std::size_t rowsAsked) {
  if (content.error != QString()) {
    FUZZ_CHECK(content.error == kInvalidFormatMessage);  // no path, so never "not found"
    FUZZ_CHECK(content.rows.empty());
    return;
  }
  FUZZ_CHECK(content.rows.size() == rowsAsked || rowsAsked == std::size_t(-1));
  FUZZ_CHECK(content.rows.size() <= std::size_t(kMaxMaps));
  for (const FileRow& row : content.rows) {
    for (const FileValue& value : row) {
      FUZZ_CHECK(std::isfinite(value.number));
      FUZZ_CHECK(value.panelText.size() <= FieldReader::kMaxFieldBytes);
      FUZZ_CHECK(!value.panelText.contains(QChar(0)));
      // A panel text that is a number is the number the table gets, as the program writes it.
      if (const auto shown = parseNumber(value.panelText); shown && !value.panelText.isEmpty()) {
        FUZZ_CHECK(numberToText(value.number) == numberToText(*shown));
      }
    }
  }
}

// Reads the same bytes through the trickling and the failing device; both must agree with the
// plain read, the failing one unless it reported an error. The last byte picks where the
// failing device breaks, so the fuzzer can aim at any field.
template <typename Read>
void checkDelivery(const QByteArray& bytes, const ParamFileContent& plain, Read read) {
  TrickleDevice trickle(bytes, -1);
  FUZZ_CHECK(sameRows(read(trickle), plain));
  if (bytes.isEmpty()) return;
  const qint64 failAt = bytes.size() * static_cast<unsigned char>(bytes.back()) / 256;
  TrickleDevice failing(bytes, failAt);
  const ParamFileContent broken = read(failing);
  FUZZ_CHECK(broken.error != QString() || sameRows(broken, plain));
  FUZZ_CHECK(broken.error == QString() || broken.rows.empty());
}

// Save what was loaded and load it again: the same count, the numbers as their 15-digit texts,
// and the texts the panel showed for numbers.
void checkSaveAndReload(const ParamFileContent& loaded) {
  MapTable maps;
  storeRows(loaded.rows, maps);
  const QByteArray saved = savedLayoutText(maps);
  QBuffer buffer;
  buffer.setData(saved);
  buffer.open(QIODevice::ReadOnly);
  const ParamFileContent reloaded = contentOf(readSavedLayout(buffer));
  FUZZ_CHECK(reloaded.error == QString());
  FUZZ_CHECK(reloaded.rows.size() == loaded.rows.size());
  for (std::size_t r = 0; r < loaded.rows.size(); ++r) {
    for (int column = 0; column < kColumnCount; ++column) {
      const QString text = numberToText(loaded.rows[r][column].number);
      FUZZ_CHECK(reloaded.rows[r][column].panelText == text);
      FUZZ_CHECK(numberToText(reloaded.rows[r][column].number) == text);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  // Each read allocates the reader's buffer, which is slow under the address sanitizer, so the
  // input's size picks the preset's map count and which layout the odd devices deliver.
  const int mapCount = 3 + int(size % 3);
  const auto readSaved = [](QIODevice& device) { return contentOf(readSavedLayout(device)); };
  const auto readPreset = [mapCount](QIODevice& device) {
    return contentOf(readPresetLayout(device, mapCount));
  };

  QBuffer saved;
  saved.setData(bytes);
  saved.open(QIODevice::ReadOnly);
  const ParamFileContent content = readSaved(saved);
  checkContent(content, std::size_t(-1));
  if (content.error == QString()) checkSaveAndReload(content);

  QBuffer preset;
  preset.setData(bytes);
  preset.open(QIODevice::ReadOnly);
  const ParamFileContent rows = readPreset(preset);
  checkContent(rows, std::size_t(mapCount));

  if (size % 2 == 0)
    checkDelivery(bytes, content, readSaved);
  else
    checkDelivery(bytes, rows, readPreset);
  return 0;
}
