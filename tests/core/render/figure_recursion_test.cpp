#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <utility>
#include <vector>

#include "core/render/drawing.h"
#include "core/render/frame.h"
#include "core/render/square_figure.h"
#include "core/render/triangle_figure.h"
#include "picture_diff.h"
#include "recording_surface.h"
#include "render_fixtures.h"

namespace quill::testing {
namespace {

using Kind = SurfaceCall::Kind;

// Where `map` puts a point in fractions of the square's side: where figures should land.
UnitPoint mapped(const PlaneMap& map, UnitPoint p) {
  return {map.a * p.u + map.b * p.v + map.e, map.c * p.u + map.d * p.v + map.f};
}
constexpr PlaneMap kIdentity{1, 0, 0, 1, 0, 0};

// Checks the six lines of one square figure mapped by `map`, starting at lines[first].
void expectSquareFigure(const DrawingState& state, const std::vector<SurfaceCall>& lines,
                        std::size_t first, const PlaneMap& map) {
  ASSERT_GE(lines.size(), first + 6);
  const UnitPoint c1 = mapped(map, {0, 1}), c2 = mapped(map, {1, 1}), c3 = mapped(map, {0, 0}),
                  c4 = mapped(map, {1, 0});
  const UnitPoint m1 = mapped(map, {0.1, 0.9}), m2 = mapped(map, {0.1, 0.6}),
                  m3 = mapped(map, {0.15, 0.6});
  const Kind kinds[6] = {Kind::Line,   Kind::LineTo, Kind::LineTo,
                         Kind::LineTo, Kind::Line,   Kind::LineTo};
  const UnitPoint ends[6][2] = {{c1, c2}, {c2, c4}, {c4, c3}, {c3, c1}, {m1, m2}, {m2, m3}};
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(::testing::Message() << "line " << i);
    const SurfaceCall& call = lines[first + i];
    EXPECT_EQ(call.kind, kinds[i]);
    EXPECT_EQ(call.color, kPen);
    EXPECT_EQ(call.style, DrawStyle::Solid);
    expectSegment(state, call, ends[i][0], ends[i][1]);
  }
}

// Checks the three lines of one triangle mapped by `map`, starting at lines[first].
void expectTriangle(const DrawingState& state, const std::vector<SurfaceCall>& lines,
                    std::size_t first, const PlaneMap& map) {
  ASSERT_GE(lines.size(), first + 3);
  const UnitPoint c1 = mapped(map, {0, 0}), c2 = mapped(map, {1, 0}), c3 = mapped(map, {0.5, 1});
  EXPECT_EQ(lines[first].kind, Kind::Line);
  expectSegment(state, lines[first], c1, c2);
  expectSegment(state, lines[first + 1], c2, c3);
  expectSegment(state, lines[first + 2], c3, c1);
  for (std::size_t i = first; i < first + 3; ++i) EXPECT_EQ(lines[i].color, kPen);
}

TEST(drawFrame, RunsDashedAndBlackClockwiseFromTopLeftThenTurnsSolid) {
  const DrawingState state = drawingState({}, 0);  // the pen is red; the frame stays black
  RecordingSurface surface;
  drawFrame(surface, state.square);
  ASSERT_EQ(surface.calls.size(), 6u);
  EXPECT_EQ(surface.calls[0].kind, Kind::DrawStyle);
  EXPECT_EQ(surface.calls[0].style, DrawStyle::Dashed);
  const Kind kinds[4] = {Kind::Line, Kind::LineTo, Kind::LineTo, Kind::LineTo};
  const UnitPoint corners[5] = {{0, 1}, {1, 1}, {1, 0}, {0, 0}, {0, 1}};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    const SurfaceCall& call = surface.calls[1 + i];
    EXPECT_EQ(call.kind, kinds[i]);
    EXPECT_EQ(call.color, kBlack);
    EXPECT_EQ(call.style, DrawStyle::Dashed);
    expectSegment(state, call, corners[i], corners[i + 1]);
  }
  // The top side lies at marginY itself, not only near it.
  EXPECT_EQ(surface.calls[1].y1, float(state.square.marginY));
  EXPECT_EQ(surface.calls[5].kind, Kind::DrawStyle);
  EXPECT_EQ(surface.calls[5].style, DrawStyle::Solid);
}

// One square figure (or none) per case; the figures are never numbered outside the blue print.
TEST(SquareFigure, DrawsTheBaseFigureMappedAsTheTableSays) {
  struct Case {
    const char* name;
    std::vector<WeightedMap> rows;
    int depth;
    std::vector<PlaneMap> figures;  // the expected figures' maps, in drawing order
  };
  const Case cases[] = {
      {"depth 0 draws the base figure", {{{0.5, 0, 0, 0.5, 0.25, 0.25}, 1}}, 0, {kIdentity}},
      {"identity at depth 1 lies over the frame, mark top left",
       {{{1, 0, 0, 1, 0, 0}, 1}},
       1,
       {kIdentity}},
      {"e = 0.5 shifts right by half the side",
       {{{1, 0, 0, 1, 0.5, 0}, 1}},
       1,
       {{1, 0, 0, 1, 0.5, 0}}},
      {"a mirror puts the mark top right", {{{-1, 0, 0, 1, 1, 0}, 1}}, 1, {{-1, 0, 0, 1, 1, 0}}},
      {"a rotation by a quarter turn", {{{0, -1, 1, 0, 1, 0}, 1}}, 1, {{0, -1, 1, 0, 1, 0}}},
      {"no maps draw nothing at depth 1", {}, 1, {}},
      {"no maps still draw the base figure at depth 0", {}, 0, {kIdentity}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DrawingState state = drawingState(c.rows, c.depth);
    state.labelImages = true;  // even so, depth 0 never prints a number
    RecordingSurface surface;
    EXPECT_TRUE(drawSquareFigure(surface, state, RenderControl{}));
    const std::vector<SurfaceCall> lines = surface.lines();
    ASSERT_EQ(lines.size(), 6 * c.figures.size());
    for (std::size_t k = 0; k < c.figures.size(); ++k) {
      expectSquareFigure(state, lines, 6 * k, c.figures[k]);
    }
    if (c.depth == 0) {
      EXPECT_TRUE(surface.only(Kind::Print).empty());
    }
    EXPECT_EQ(state.recursionLevel, c.depth + 1);
  }
}

TEST(TriangleFigure, DrawsTheBaseTriangleAtDepthZeroAndNothingWithoutMaps) {
  {
    SCOPED_TRACE("depth 0");
    DrawingState state = drawingState({kHalfMaps[1]}, 0);
    RecordingSurface surface;
    EXPECT_TRUE(drawTriangleFigure(surface, state, RenderControl{}));
    ASSERT_EQ(surface.calls.size(), 3u);
    expectTriangle(state, surface.calls, 0, kIdentity);
  }
  {
    SCOPED_TRACE("no maps at depth 4");
    DrawingState state = drawingState({}, 4);
    RecordingSurface surface;
    EXPECT_TRUE(drawTriangleFigure(surface, state, RenderControl{}));
    EXPECT_TRUE(surface.calls.empty());
    EXPECT_EQ(state.recursionLevel, 5);
  }
}

// For the sequence (i1, …, in) the figure is the base mapped by w(i1) first and w(in) last, and
// the sequences come in lexicographic order with i1 varying slowest. Half maps do not commute
// with each other's translations, so a wrong composition order lands elsewhere.
TEST(FigureRecursion, DrawsEverySequenceInLexicographicOrderFirstMapApplied) {
  const PlaneMap half[3] = {
      {0.5, 0, 0, 0.5, 0, 0}, {0.5, 0, 0, 0.5, 0.5, 0}, {0.5, 0, 0, 0.5, 0.25, 0.5}};
  auto composed = [](const PlaneMap& first, const PlaneMap& last) {
    // last ∘ first
    return PlaneMap{
        last.a * first.a + last.b * first.c,          last.a * first.b + last.b * first.d,
        last.c * first.a + last.d * first.c,          last.c * first.b + last.d * first.d,
        last.a * first.e + last.b * first.f + last.e, last.c * first.e + last.d * first.f + last.f};
  };
  {
    SCOPED_TRACE("triangles, three maps, depth 2");
    DrawingState state = drawingState({kHalfMaps[0], kHalfMaps[1], kHalfMaps[2]}, 2);
    RecordingSurface surface;
    ASSERT_TRUE(drawTriangleFigure(surface, state, RenderControl{}));
    const std::vector<SurfaceCall> lines = surface.lines();
    ASSERT_EQ(lines.size(), 9u * 3);
    std::size_t k = 0;
    for (int i1 = 0; i1 < 3; ++i1) {
      for (int i2 = 0; i2 < 3; ++i2, ++k) {
        SCOPED_TRACE(::testing::Message() << "sequence " << i1 + 1 << ", " << i2 + 1);
        expectTriangle(state, lines, 3 * k, composed(half[i1], half[i2]));
      }
    }
  }
  {
    SCOPED_TRACE("square figures, a half map and a mirror, depth 2");
    const PlaneMap mirror{-0.5, 0, 0, 0.5, 1, 0.5};
    DrawingState state = drawingState({kHalfMaps[0], {{-0.5, 0, 0, 0.5, 1, 0.5}, 0.5}}, 2);
    RecordingSurface surface;
    ASSERT_TRUE(drawSquareFigure(surface, state, RenderControl{}));
    const std::vector<SurfaceCall> lines = surface.lines();
    ASSERT_EQ(lines.size(), 4u * 6);
    const PlaneMap maps[2] = {half[0], mirror};
    std::size_t k = 0;
    for (int i1 = 0; i1 < 2; ++i1) {
      for (int i2 = 0; i2 < 2; ++i2, ++k) {
        SCOPED_TRACE(::testing::Message() << "sequence " << i1 + 1 << ", " << i2 + 1);
        expectSquareFigure(state, lines, 6 * k, composed(maps[i1], maps[i2]));
      }
    }
  }
  {
    SCOPED_TRACE("three maps at depth 5 make 243 triangles");
    DrawingState state = drawingState({kHalfMaps[0], kHalfMaps[1], kHalfMaps[2]}, 5);
    RecordingSurface surface;
    ASSERT_TRUE(drawTriangleFigure(surface, state, RenderControl{}));
    EXPECT_EQ(surface.only(Kind::Line).size(), 243u);
    EXPECT_EQ(state.recursionLevel, 6);
  }
}

TEST(FigureRecursion, DepthsOutsideTheLevelsDrawNothing) {
  for (int depth : {INT_MIN, -1, kMaxFigureDepth + 1, INT_MAX}) {
    SCOPED_TRACE(depth);
    DrawingState state = drawingState({kHalfMaps[0]}, depth);
    RecordingSurface surface;
    drawTriangleFigure(surface, state, RenderControl{});
    drawSquareFigure(surface, state, RenderControl{});
    EXPECT_TRUE(surface.calls.empty());
  }
}

// Counts figures without keeping them: a triangle starts with its one Line call.
struct CountingSurface {
  void line(float, float, float, float, Rgb) { ++figures; }
  void lineTo(float, float, Rgb) {}
  void pset(float, float, Rgb) {}
  void setDrawStyle(DrawStyle) {}
  void setCurrentX(float) {}
  void setCurrentY(float) {}
  void print(const QString&) {}
  long figures = 0;
};

TEST(FigureRecursion, CancelStopsAtTheEndOfABatchAndLeavesTheLevelWhereItWas) {
  std::atomic<bool> cancel{false};
  std::vector<double> reports;
  RenderControl control;
  control.cancel = &cancel;
  control.progress = [&](double share) {
    reports.push_back(share);
    cancel = true;  // as if the user pressed Cancel during the first batch
  };
  DrawingState state = drawingState({kHalfMaps[0], kHalfMaps[1]}, 17);  // 2^17 = two batches
  CountingSurface surface;
  EXPECT_FALSE(drawTriangleFigure(surface, state, control));
  EXPECT_EQ(surface.figures, long(kFigureBatch));
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_DOUBLE_EQ(reports[0], 0.5);
  EXPECT_EQ(state.recursionLevel, 18);

  CountingSurface untouched;
  EXPECT_FALSE(drawSquareFigure(untouched, state, control));  // cancelled before it began
  EXPECT_EQ(untouched.figures, 0);
}

// Each map's number is printed once, in table order, with its top-left corner on the image of
// the mark's first point, (0.1, 0.9) of the square.
TEST(BluePrint, NumbersEachMapsImageAtItsMarkInTableOrder) {
  const std::pair<const char*, std::vector<WeightedMap>> cases[] = {
      {"three half maps", {kHalfMaps[0], kHalfMaps[1], kHalfMaps[2]}},
      {"a mirror numbers near the upper right", {{{-1, 0, 0, 1, 1, 0}, 1}}},
      {"ten turned and mirrored maps number up to 10", kTenMaps},
  };
  for (const auto& [name, rows] : cases) {
    SCOPED_TRACE(name);
    DrawingState state = drawingState(rows, 1);
    ChaosRandom random;
    RecordingSurface surface;
    ASSERT_TRUE(drawReference(surface, DrawingKind::BluePrint, state, random, RenderControl{}));
    EXPECT_FALSE(state.labelImages);
    const std::vector<SurfaceCall> prints = surface.only(Kind::Print);
    ASSERT_EQ(prints.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
      SCOPED_TRACE(::testing::Message() << "map " << i + 1);
      const WeightedMap& w = rows[i];
      const UnitPoint mark = mapped(w.map, {0.1, 0.9});
      EXPECT_EQ(prints[i].text, QString::number(i + 1));
      EXPECT_NEAR(prints[i].x1, canvasX(state, mark), kTwipTolerance);
      EXPECT_NEAR(prints[i].y1, canvasY(state, mark), kTwipTolerance);
    }
  }
}

TEST(Fractal, SquareFiguresCarryNoNumbersOutsideTheBluePrint) {
  DrawingState state = drawingState({kHalfMaps[0], kHalfMaps[1], kHalfMaps[2]}, 2);
  ChaosRandom random;
  RecordingSurface surface;
  ASSERT_TRUE(drawReference(surface, DrawingKind::SquareFractal, state, random, RenderControl{}));
  EXPECT_EQ(surface.lines().size(), 4 + 9u * 6);
  EXPECT_TRUE(surface.only(Kind::Print).empty());
}

}  // namespace
}  // namespace quill::testing
