#include "core/render/parallel_chaos_game.h"

#include <gtest/gtest.h>

#include <atomic>
#include <bit>
#include <cmath>
#include <cstdint>
#include <memory>
#include <numbers>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "core/render/chaos_warm_up.h"
#include "core/render/fast_chaos_game.h"
#include "picture_diff.h"
#include "render_fixtures.h"
#include "support/row_name.h"

namespace quill::testing {
namespace {

TEST(ChaosRandom, AdvanceLeavesTheStateThatSteppingLeaves) {
  for (std::uint64_t delta : {0ull, 1ull, 2ull, 3ull, 64ull, 65537ull, 1000003ull}) {
    SCOPED_TRACE(delta);
    ChaosRandom stepped;
    for (std::uint64_t i = 0; i < delta; ++i) stepped.nextBits();
    ChaosRandom jumped;
    jumped.advance(delta);
    EXPECT_EQ(jumped, stepped);
  }
  // Jumps add up, and the generator comes back after its period of 2^64 numbers.
  ChaosRandom twice;
  twice.advance(0x7654321fedcba987ull);
  twice.advance(0x1234567890abcdefull);
  ChaosRandom once;
  once.advance(0x7654321fedcba987ull + 0x1234567890abcdefull);
  EXPECT_EQ(twice, once);
  ChaosRandom round;
  round.advance(~0ull);
  round.nextBits();
  EXPECT_EQ(round, ChaosRandom());
}

TEST(ChaosWarmUp, FollowsTheLargestSingularValueOfTheMapsThatCanBeChosen) {
  EXPECT_DOUBLE_EQ(largestSingularValue(0.5, 0, 0, 0.25), 0.5);
  EXPECT_DOUBLE_EQ(largestSingularValue(0.6, -0.8, 0.8, 0.6), 1);         // a turn
  EXPECT_DOUBLE_EQ(largestSingularValue(1, 1, 0, 1), std::numbers::phi);  // a shear

  const std::vector<WeightedMap> half = {kHalfMaps[0], kHalfMaps[1], kHalfMaps[2]};
  EXPECT_EQ(chaosWarmUpSteps(drawingState(half, 0).maps), kGapBits + kSettleSteps);
  std::vector<WeightedMap> withGrowing = half;
  withGrowing.push_back({{1.5, 0, 0, 1.5, 0, 0}, 0});  // probability 0: never chosen
  EXPECT_EQ(chaosWarmUpSteps(drawingState(withGrowing, 0).maps), kGapBits + kSettleSteps);
  withGrowing.back().p = 0.1;
  EXPECT_EQ(chaosWarmUpSteps(drawingState(withGrowing, 0).maps), std::nullopt);
  EXPECT_EQ(chaosWarmUpSteps(drawingState({{{NAN, 0, 0, 0.5, 0, 0}, 1}}, 0).maps), std::nullopt);
  // A quarter turn that shrinks one way: σ = 1 for one step, 1/3 for two, and (1/3)^38 < 2^−60.
  EXPECT_EQ(chaosWarmUpSteps(drawingState({{{0, -1.0 / 3, 1, 0, 0, 0}, 1}}, 0).maps),
            2 * 38 + kSettleSteps);
}

// Maps of random shape, place and weight that shrink by at most `largest`; some weights 0.
std::vector<WeightedMap> randomTable(unsigned seed, double largest) {
  std::mt19937_64 engine(seed);
  std::uniform_real_distribution<double> unit(0, 1);
  const int count = 2 + int(engine() % 9);
  std::vector<WeightedMap> rows;
  for (int i = 0; i < count; ++i) {
    const double a = unit(engine) * 2 - 1, b = unit(engine) * 2 - 1;
    const double c = unit(engine) * 2 - 1, d = unit(engine) * 2 - 1;
    const double shrink = largest * unit(engine) / largestSingularValue(a, b, c, d);
    rows.push_back({{a * shrink, b * shrink, c * shrink, d * shrink, unit(engine), unit(engine)},
                    i % 4 == 3 ? 0.0 : unit(engine)});
  }
  return rows;
}

struct GameCase {
  std::string name;
  std::vector<WeightedMap> rows;
  std::int32_t steps;
  ParallelChaosSettings settings;
  std::uint64_t skip = 0;  // numbers drawn before the game
};
void PrintTo(const GameCase& c, std::ostream* out) { *out << c.name; }

struct Played {
  std::unique_ptr<Canvas> canvas;
  ChaosRandom random;
  ParallelChaosOutcome outcome;
};

Played play(const GameCase& c, std::optional<ParallelChaosSettings> settings,
            const RenderControl& control = {}) {
  Played played{std::make_unique<Canvas>(kCanvasWidth, kCanvasHeight, 15.0, kWhite), {}, {}};
  played.random.advance(c.skip);
  DrawingState state = drawingState(c.rows, c.steps);
  if (settings) {
    played.outcome =
        playChaosGameParallel(*played.canvas, state, played.random, control, *settings);
  } else {
    played.outcome.finished = playChaosGameFast(*played.canvas, state, played.random, control);
  }
  return played;
}

::testing::AssertionResult samePosition(Canvas& expected, Canvas& actual) {
  auto bits = [](float v) { return std::bit_cast<std::uint32_t>(v); };
  if (bits(expected.currentX()) == bits(actual.currentX()) &&
      bits(expected.currentY()) == bits(actual.currentY())) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "current position (" << actual.currentX() << ", " << actual.currentY()
         << "), expected (" << expected.currentX() << ", " << expected.currentY() << ")";
}

// The ink, the generator afterwards and the current position of the one-orbit loop.
void expectSameAsOneOrbit(Played& oneOrbit, Played& split) {
  EXPECT_TRUE(sameInk(*oneOrbit.canvas, *split.canvas));
  EXPECT_EQ(oneOrbit.random, split.random);
  EXPECT_TRUE(samePosition(*oneOrbit.canvas, *split.canvas));
}

// The step at which the generator first gives r = 0 (the step that takes no map).
std::uint64_t firstZeroDraw() {
  ChaosRandom random;
  std::uint64_t step = 0;
  while ((random.nextBits() >> 8) != 0) ++step;
  return step;
}

std::vector<GameCase> gameCases() {
  const std::vector<WeightedMap> half = {kHalfMaps[0], kHalfMaps[1], kHalfMaps[2]};
  const ParallelChaosSettings twoThreads{.threads = 2, .segmentSteps = 100'000};
  std::vector<GameCase> cases;
  for (int pattern = 0; pattern < kUserPattern; ++pattern) {
    cases.push_back({"preset " + kPatterns[std::size_t(pattern)].menuCaption.toStdString(),
                     presetRows(pattern), 2'000'003, twoThreads});
  }
  cases.push_back(
      {"ten maps, three threads", kTenMaps, 1'000'001, {.threads = 3, .segmentSteps = 65'536}});
  for (unsigned seed = 1; seed <= 4; ++seed) {
    cases.push_back(
        {"random table " + std::to_string(seed), randomTable(seed, 0.9), 1'000'000, twoThreads});
  }
  cases.push_back({"slowly shrinking turns",
                   randomTable(7, 0.995),
                   1'000'000,
                   {.threads = 2, .segmentSteps = 100'000}});
  cases.push_back({"segments of the default size, count not a multiple",
                   presetRows(8),
                   (5 << 20) + 7,
                   {.threads = 2}});
  // The square is three times the canvas: most points fall outside and are clipped.
  cases.push_back({"thrown off the canvas",
                   {{{0.5, 0, 0, 0.5, 0, 0}, 0.5}, {{0.5, 0, 0, 0.5, 2.5, 1.5}, 0.5}},
                   1'000'000,
                   twoThreads});
  cases.push_back({"growing maps: one orbit",
                   {{{1.5, 0, 0, 1.5, 0.1, 0}, 0.5}, {{-2, 0.5, 0, 2, 0, 0.1}, 0.5}},
                   1'000'000,
                   twoThreads});
  cases.push_back({"a turn that does not shrink: one orbit",
                   {{{0.5, 0, 0, 0.5, 0, 0}, 0.5}, {{0, -1, 1, 0, 0.5, 0.5}, 0.5}},
                   1'000'000,
                   twoThreads});
  cases.push_back({"short first segments ramping up",
                   presetRows(8),
                   1'000'003,
                   {.threads = 2, .segmentSteps = 100'000, .firstSegmentSteps = 1'000}});
  cases.push_back(
      {"ramp with warm-ups too short: segments drawn again",
       half,
       300'000,
       {.threads = 3, .segmentSteps = 64'000, .warmUpSteps = 3, .firstSegmentSteps = 500}});
  cases.push_back({"game over within the ramp",
                   presetRows(8),
                   20'000,
                   {.threads = 2, .segmentSteps = 100'000, .firstSegmentSteps = 1'000}});
  cases.push_back({"a segment a step, warm-ups from the start",
                   half,
                   20'000,
                   {.threads = 3, .segmentSteps = 1}});
  const std::uint64_t zero = firstZeroDraw();
  cases.push_back({"r = 0 on a segment's first step",
                   half,
                   100'000,
                   {.threads = 2, .segmentSteps = 1'000},
                   zero - 5'000});
  cases.push_back({"r = 0 on a warm-up's first step",
                   half,
                   100'000,
                   {.threads = 2, .segmentSteps = 1'000, .warmUpSteps = 500},
                   zero - 5'500});
  cases.push_back({"r = 0 on the game's first step",
                   half,
                   100'000,
                   {.threads = 2, .segmentSteps = 1'000},
                   zero});
  return cases;
}

class ParallelGames : public ::testing::TestWithParam<GameCase> {};

TEST_P(ParallelGames, DrawTheOneOrbitPicturePixelForPixel) {
  const GameCase& c = GetParam();
  Played oneOrbit = play(c, std::nullopt);
  Played split = play(c, c.settings);
  ASSERT_TRUE(oneOrbit.outcome.finished);
  EXPECT_TRUE(split.outcome.finished);
  expectSameAsOneOrbit(oneOrbit, split);
  const bool contracts = !c.name.ends_with("one orbit");
  EXPECT_EQ(split.outcome.oneOrbit, !contracts);
  if (contracts) {
    EXPECT_EQ(split.outcome.stepsDrawn, c.steps);
  }
}

INSTANTIATE_TEST_SUITE_P(ParallelChaosGame, ParallelGames, ::testing::ValuesIn(gameCases()),
                         testing::RowName());

// A warm-up far too short leaves each segment's start off the orbit: every segment after the
// first is drawn again from the true point, and the picture stays the reference's.
TEST(ParallelChaosGame, RedrawsASegmentWhoseStartMissedTheTruePoint) {
  const GameCase c{"Sierpinski, warm-up of 3 steps",
                   {kHalfMaps[0], kHalfMaps[1], kHalfMaps[2]},
                   1'000'003,
                   {.threads = 2, .segmentSteps = 50'000, .warmUpSteps = 3}};
  Played oneOrbit = play(c, std::nullopt);
  Played split = play(c, c.settings);
  EXPECT_TRUE(split.outcome.finished);
  EXPECT_EQ(split.outcome.segments, 21);
  EXPECT_EQ(split.outcome.redrawn, 20);
  expectSameAsOneOrbit(oneOrbit, split);
}

// Cancel, raised from the first progress report, stops the game with the picture, the
// generator and the current position of the one-orbit loop after the steps it reports drawn.
TEST(ParallelChaosGame, CancelLeavesTheOneOrbitStateAfterTheStepsDrawn) {
  const std::vector<WeightedMap> fern = presetRows(8);
  for (const ParallelChaosSettings& settings :
       {ParallelChaosSettings{.threads = 2, .segmentSteps = 1 << 20},
        ParallelChaosSettings{.threads = 3, .segmentSteps = 1 << 20, .warmUpSteps = 3}}) {
    SCOPED_TRACE(settings.warmUpSteps == 0 ? "matching starts" : "redrawn segments");
    std::atomic<bool> cancel{false};
    RenderControl control;
    control.cancel = &cancel;
    control.progress = [&](double done) {
      if (done > 0) cancel = true;
    };
    GameCase c{"fern", fern, 2'000'000'000, settings};
    Played split = play(c, settings, control);
    EXPECT_FALSE(split.outcome.finished);
    EXPECT_LT(split.outcome.stepsDrawn, c.steps);
    c.steps = std::int32_t(split.outcome.stepsDrawn);
    Played oneOrbit = play(c, std::nullopt);
    expectSameAsOneOrbit(oneOrbit, split);
  }
}

}  // namespace
}  // namespace quill::testing
