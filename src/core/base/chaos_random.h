#pragma once

#include <cstdint>

namespace quill {

// The uniform random source of the chaos game: PCG32 (O'Neill), started from a fixed seed at
// every program start and never reseeded, so a fresh run repeats its pictures and each game
// continues the sequence where the previous one stopped.
class ChaosRandom {
 public:
  static constexpr std::uint64_t kSeed = 0x853c49e6748fea9bULL;

  ChaosRandom() { seed(kSeed); }
  // Another sequence, for reproducible series of pictures.
  explicit ChaosRandom(std::uint64_t seedValue) { seed(seedValue); }

  // The generator at a state another one reported: it goes on where that one stood.
  static ChaosRandom resumedAt(std::uint64_t state) {
    ChaosRandom random;
    random.state_ = state;
    return random;
  }
  std::uint64_t state() const { return state_; }

  // The next number r, 0 ≤ r < 1, in single precision: 24 random bits, so every value is exact.
  float next() { return float(nextBits() >> 8) * 0x1p-24f; }

  std::uint32_t nextBits() {
    const std::uint64_t old = state_;
    state_ = old * kMultiplier + kIncrement;
    const auto xorshifted = std::uint32_t(((old >> 18u) ^ old) >> 27u);
    const auto rot = std::uint32_t(old >> 59u);
    return (xorshifted >> rot) | (xorshifted << ((32u - rot) & 31u));
  }

  // Skips `delta` numbers, leaving the state `delta` calls of nextBits would leave, in
  // O(log delta) steps: the state moves by an affine map mod 2^64, and its powers come by squaring.
  void advance(std::uint64_t delta) {
    std::uint64_t multiplier = 1;
    std::uint64_t increment = 0;
    std::uint64_t stepMultiplier = kMultiplier;  // the map of 2^i steps, i = 0, 1, ...
    std::uint64_t stepIncrement = kIncrement;
    for (; delta > 0; delta >>= 1) {
      if (delta & 1u) {
        multiplier *= stepMultiplier;
        increment = increment * stepMultiplier + stepIncrement;
      }
      stepIncrement = (stepMultiplier + 1) * stepIncrement;
      stepMultiplier *= stepMultiplier;
    }
    state_ = state_ * multiplier + increment;
  }

  friend bool operator==(const ChaosRandom&, const ChaosRandom&) = default;

 private:
  static constexpr std::uint64_t kMultiplier = 6364136223846793005ULL;
  static constexpr std::uint64_t kIncrement = 1442695040888963407ULL;

  void seed(std::uint64_t value) {
    state_ = 0;
    nextBits();
    state_ += value;
    nextBits();
  }

  std::uint64_t state_ = 0;
};

}  // namespace quill
