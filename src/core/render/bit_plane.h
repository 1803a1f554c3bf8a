#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace quill {

// One bit per canvas pixel: the pixels a stretch of drawing set, kept apart from the canvas until
// they may join it. A row takes whole 64-bit words.
class BitPlane {
 public:
  BitPlane(int width, int height)
      : wordsPerRow_((std::max(width, 0) + 63) / 64),
        height_(std::max(height, 0)),
        words_(std::size_t(wordsPerRow_) * std::size_t(height_)) {}

  void clear() { std::fill(words_.begin(), words_.end(), 0); }

  std::uint64_t* words() { return words_.data(); }
  int wordsPerRow() const { return wordsPerRow_; }

  // (px, py) must lie inside the plane.
  static void set(std::uint64_t* words, int wordsPerRow, int px, int py) {
    words[std::ptrdiff_t(py) * wordsPerRow + (px >> 6)] |= std::uint64_t{1} << (px & 63);
  }

  // Calls visit(px, py) for every pixel set, row by row, left to right.
  template <class Visit>
  void forEachSet(Visit visit) const {
    for (int py = 0; py < height_; ++py) {
      const std::uint64_t* row = words_.data() + std::ptrdiff_t(py) * wordsPerRow_;
      for (int w = 0; w < wordsPerRow_; ++w) {
        for (std::uint64_t bits = row[w]; bits != 0; bits &= bits - 1) {
          visit(w * 64 + std::countr_zero(bits), py);
        }
      }
    }
  }

 private:
  int wordsPerRow_;
  int height_;
  std::vector<std::uint64_t> words_;
};

}  // namespace quill
