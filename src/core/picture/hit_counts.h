#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/base/chaos_random.h"
#include "core/base/render_control.h"
#include "core/base/result.h"
#include "core/maps/drawing_state.h"
#include "core/render/segmented_orbit.h"

namespace quill {

// A colour coordinate: 16 bits a channel, 0 to 65535.
struct Tint {
  std::uint32_t red = 0;
  std::uint32_t green = 0;
  std::uint32_t blue = 0;
  friend bool operator==(const Tint&, const Tint&) = default;
};

// The chaos game's hits on a grid of pixels. A count never wraps: the game plays at most
// 2^31 − 1 steps (iterationCount is 32-bit), and each step adds at most one hit to one pixel, so
// no count passes 2^31 − 1 < 2^32. The colour sums add 16-bit coordinates over those hits:
// below 2^31 · 2^16 = 2^47, well inside 64 bits.
struct HitGrid {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> counts;      // row by row
  std::vector<std::uint64_t> colourSums;  // red, green, blue per pixel; empty unless by map
};

// How the threads of one count share the grid (hit_tally.h). Drawing lets the grid's size and
// the threads choose; tests pick each way. SmallBands: bands of 1024 cells and buffers of 61
// hits, so that a small grid has many bands and every buffer fills many times.
enum class HitTally { Automatic, PrivatePlanes, Bands, SmallBands };

// Counts, on a width × height grid of 15-twip pixels (drawing's drawing square derived for it),
// the pixels that the chaos game of drawing plots with `random`, hit for hit as the one-orbit
// game plots them. With mapTints (one per map slot) each point also carries a tint that moves
// halfway towards the tint of the map that placed it, and each pixel sums the tints of its hits.
//
// On control.threads threads the steps are cut into segments by the canvas's game's rule
// (cutChaosGame), each played by whichever thread is free from a warm-up and counted into a
// plane of its thread's or through its thread's band buffers (`tally`); integer sums do not
// depend on their order. A segment whose warmed-up start is not the true one, to the bit, is
// taken out again and played from the true start, so the grid is the one-orbit game's whatever
// the threads, the cut and the tally. Fails when cancelled or when there is no memory.
Result<HitGrid> countHits(int width, int height, const DrawingState& drawing,
                          const ChaosRandom& random, const std::array<Tint, kMapSlots>* mapTints,
                          const RenderControl& control, const SegmentSettings& settings = {},
                          HitTally tally = HitTally::Automatic);

}  // namespace quill
