#include <QIODevice>
#include <array>
#include <vector>

#include "core/picture/picture_rows.h"

namespace quill {

namespace {

constexpr int kHeaderBytes = 14 + 40;  // the file header and BITMAPINFOHEADER
// 96 dots to the inch, as the canvas has (15 twips a pixel), in dots per metre.
constexpr std::uint32_t kDotsPerMetre = 3780;

// Little-endian fields of the header, in order.
class HeaderBytes {
 public:
  void put16(std::uint16_t value) { put(value, 2); }
  void put32(std::uint32_t value) { put(value, 4); }
  const std::array<char, kHeaderBytes>& bytes() const { return bytes_; }

 private:
  void put(std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) bytes_[std::size_t(at_++)] = char((value >> (8 * i)) & 0xFF);
  }
  std::array<char, kHeaderBytes> bytes_{};
  int at_ = 0;
};

}  // namespace

Status writeBmpRows(QIODevice& device, int width, int height, const RowSource& row,
                    const RenderControl& control, double progressFrom) {
  // Rows of blue, green, red bytes, each padded to a multiple of 4 bytes. At 16384 × 16384 the
  // file is 768 MiB, well within the 32-bit sizes of the header.
  const std::uint32_t rowBytes = (std::uint32_t(width) * 3 + 3) & ~std::uint32_t{3};
  const std::uint32_t imageBytes = rowBytes * std::uint32_t(height);
  HeaderBytes header;
  header.put16(0x4D42);  // "BM"
  header.put32(kHeaderBytes + imageBytes);
  header.put32(0);  // reserved
  header.put32(kHeaderBytes);
  header.put32(40);
  header.put32(std::uint32_t(width));
  header.put32(std::uint32_t(height));  // positive: the bottom row first
  header.put16(1);                      // planes
  header.put16(24);                     // bits a pixel
  header.put32(0);                      // no compression
  header.put32(imageBytes);
  header.put32(kDotsPerMetre);
  header.put32(kDotsPerMetre);
  header.put32(0);  // colours in a palette: none
  header.put32(0);
  if (device.write(header.bytes().data(), kHeaderBytes) != kHeaderBytes) {
    return Failure{kRenderedPictureMessages.other};
  }
  std::vector<std::uint16_t> values(std::size_t(width) * 3);
  std::vector<char> bytes(rowBytes, 0);
  for (int done = 0; done < height; ++done) {
    if (!rowBatchGoesOn(done, height, control, progressFrom)) {
      return Failure{kPictureCancelledMessage};
    }
    row(height - 1 - done, values.data());
    for (std::size_t x = 0; x < std::size_t(width); ++x) {
      bytes[3 * x] = char(eightBits(values[3 * x + 2]));
      bytes[3 * x + 1] = char(eightBits(values[3 * x + 1]));
      bytes[3 * x + 2] = char(eightBits(values[3 * x]));
    }
    if (device.write(bytes.data(), rowBytes) != qint64(rowBytes)) {
      return Failure{kRenderedPictureMessages.other};
    }
  }
  control.report(1);
  return {};
}

}  // namespace quill
