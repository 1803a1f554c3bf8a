#pragma once

#include <cassert>
#include <cstdint>
#include <mutex>
#include <vector>

#include "core/picture/hit_counts.h"
#include "core/render/chaos_orbit.h"

// Where the threads counting one game put their hits. Counts and colour sums are sums of
// integers, so the grid does not depend on the order they are added in; what matters is that no
// two threads add to one cell at once without paying for it on every hit.
//
// - Private planes (pictures up to a few million pixels): each writer counts into a grid of its
//   own, with plain adds; the planes are added into the picture's grid in order at the end.
// - Bands (posters): the grid is cut into bands of about 1 MiB of counts. Each writer appends
//   its hits to a small buffer per band and, when a buffer is full, locks the band and adds the
//   whole buffer with plain adds, fetching the cells a few hits ahead. The buffers stay in the
//   cache, and the misses of one flush overlap instead of waiting one by one behind locked adds.

namespace quill {

// A colour coordinate kept in 16 bits while it waits in a buffer (Tint's channels are 0..65535).
struct PackedTint {
  std::uint16_t red = 0;
  std::uint16_t green = 0;
  std::uint16_t blue = 0;
};

// A hit waiting in a band's buffer: its cell from the band's first, and with a tint its tint.
struct BandHit {
  std::uint32_t offset;
};
struct TintedBandHit {
  std::uint32_t offset;
  PackedTint tint;
};

// Adds one hit, and its tint to the cell's sums when there are sums.
inline void addHit(std::uint32_t* counts, std::uint64_t* sums, std::size_t at, const Tint* tint) {
  ++counts[at];
  if (tint != nullptr) {
    sums[3 * at] += tint->red;
    sums[3 * at + 1] += tint->green;
    sums[3 * at + 2] += tint->blue;
  }
}

// The buffers of one writer of a banded grid. Entry is BandHit or TintedBandHit.
template <class Entry>
class BandWriter {
 public:
  // The bands of `grid`, 2^bandShift cells each, with a lock each shared by every writer.
  BandWriter(HitGrid& grid, int bandShift, std::vector<std::mutex>& locks, std::size_t capacity)
      : counts_(grid.counts.data()),
        sums_(grid.colourSums.empty() ? nullptr : grid.colourSums.data()),
        bandShift_(bandShift),
        capacity_(capacity),
        locks_(locks),
        fill_(locks.size(), 0),
        entries_(locks.size() * capacity) {}

  void add(std::size_t at, const Tint* tint) {
    const std::size_t band = at >> bandShift_;
    std::uint32_t& fill = fill_[band];
    Entry& entry = entries_[band * capacity_ + fill];
    entry.offset = std::uint32_t(at - (band << bandShift_));
    if constexpr (requires { entry.tint; }) {
      entry.tint = {std::uint16_t(tint->red), std::uint16_t(tint->green),
                    std::uint16_t(tint->blue)};
    }
    if (++fill == capacity_) flush(band);
  }

  // Adds every buffered hit to the grid.
  void flushAll() {
    for (std::size_t band = 0; band < fill_.size(); ++band) {
      if (fill_[band] > 0) flush(band);
    }
  }

 private:
  // Cells fetched this many hits ahead of their add: enough misses in flight to cover the
  // memory's latency.
  static constexpr std::uint32_t kFetchAhead = 16;

  [[gnu::noinline]] void flush(std::size_t band) {
    const std::size_t first = band << bandShift_;
    std::uint32_t* counts = counts_ + first;
    std::uint64_t* sums = sums_ == nullptr ? nullptr : sums_ + 3 * first;
    const Entry* entries = &entries_[band * capacity_];
    const std::uint32_t n = fill_[band];
    const std::lock_guard lock(locks_[band]);
    for (std::uint32_t i = 0; i < n; ++i) {
      if (i + kFetchAhead < n) {
        const std::uint32_t ahead = entries[i + kFetchAhead].offset;
        __builtin_prefetch(counts + ahead, 1);
        if (sums != nullptr) __builtin_prefetch(sums + 3 * std::size_t(ahead), 1);
      }
      const Entry& entry = entries[i];
      if constexpr (requires { entry.tint; }) {
        const Tint tint{entry.tint.red, entry.tint.green, entry.tint.blue};
        addHit(counts, sums, entry.offset, &tint);
      } else {
        addHit(counts, sums, entry.offset, nullptr);
      }
    }
    fill_[band] = 0;
  }

  std::uint32_t* counts_;
  std::uint64_t* sums_;
  int bandShift_;
  std::uint32_t capacity_;
  std::vector<std::mutex>& locks_;
  std::vector<std::uint32_t> fill_;  // hits waiting, per band
  std::vector<Entry> entries_;       // capacity_ per band
};

// Hands each task one of a fixed number of writers and takes it back when the task ends; there
// are as many writers as tasks run at once, so one is always free.
class WriterPool {
 public:
  explicit WriterPool(int writers) {
    for (int i = writers - 1; i >= 0; --i) free_.push_back(i);
  }
  int take() {
    const std::lock_guard lock(mutex_);
    assert(!free_.empty());
    const int writer = free_.back();
    free_.pop_back();
    return writer;
  }
  void give(int writer) {
    const std::lock_guard lock(mutex_);
    free_.push_back(writer);
  }

 private:
  std::mutex mutex_;
  std::vector<int> free_;
};

}  // namespace quill
