// Numbers from anywhere: whatever the grid holds, the drawing commands draw what the numbers say,
// or stop when asked, without crashing or undefined behaviour (the sanitizer run checks that).

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "core/canvas/canvas.h"
#include "core/render/drawing.h"
#include "support/fakes.h"

namespace quill {
namespace {

using testing::PanelFixture;
using Row = std::array<QString, kColumnCount>;

// Fills `count` rows with the same map.
void fill(PanelFixture& f, int count, const Row& row) {
  for (int i = 1; i <= count; ++i) f.setRow(i, row);
}

// The four drawings of the test below, one over the other, by the reference recursion and loop.
QImage referencePicture(const DrawingState& read) {
  DrawingState state = read;
  Canvas canvas(640, 480, 15.0, kWhite);
  ChaosRandom random;
  const std::pair<DrawingKind, int> drawings[] = {{DrawingKind::ChaosGame, 100000},
                                                  {DrawingKind::TriangleFractal, 6},
                                                  {DrawingKind::SquareFractal, 6},
                                                  {DrawingKind::BluePrint, 1}};
  for (const auto& [kind, count] : drawings) {
    state.iterationCount = count;
    EXPECT_TRUE(drawReference(canvas, kind, state, random, RenderControl{}));
  }
  return canvas.picture();
}

TEST(HostileDrawing, ExtremeCoefficientsDrawWhatTheNumbersSay) {
  const struct {
    const char* name;
    Row row;
  } cases[] = {
      {"huge", {"1e300", "-1e300", "1e300", "1e300", "1e300", "-1e300", "1"}},
      {"tiny", {"1e-300", "-1e-300", "1e-300", "1e-300", "1e-300", "1e-300", "1"}},
      {"expanding", {"2", "0.5", "-0.5", "2", "0.5", "0.5", "1"}},
      {"huge probability", {"0.5", "0", "0", "0.5", "0", "0", "1e300"}},
      {"negative probability", {"0.5", "0", "0", "0.5", "0", "0", "-1"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PanelFixture f;
    fill(f, 3, c.row);
    f.state.countText = QStringLiteral("100000");
    drawChaosGame(f.document);
    f.state.countText = QStringLiteral("6");
    drawFractal(f.document);
    choosePattern(f.document, kUserPattern);  // "User": squares instead of triangles
    fill(f, 3, c.row);
    drawFractal(f.document);
    drawBluePrint(f.document);
    EXPECT_TRUE(f.dialogs.messages.isEmpty());
    EXPECT_EQ(f.canvasWindow.shown, 4);
    EXPECT_EQ(f.canvasWindow.canvas().picture(), referencePicture(f.drawing));
  }
}

// Runs `command` with its cancel flag raised after a moment. A drawing that ignores the flag
// hangs here, and ctest's timeout reports it.
void runCancelledAfterAMoment(PanelFixture& f, void (*command)(Document&)) {
  std::atomic<bool> cancel{false};
  RenderControl control;
  control.cancel = &cancel;
  f.document.immediate.control = control;
  std::thread canceller([&cancel] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    cancel.store(true);
  });
  command(f.document);
  canceller.join();
}

TEST(HostileDrawing, EndlessDrawingsStopWhenCancelled) {
  {
    SCOPED_TRACE("depth 20 with ten expanding maps");
    PanelFixture f;
    fill(f, 10, {"1.5", "0.2", "-0.2", "1.5", "0.1", "0.1", "0.1"});
    f.state.countText = QStringLiteral("20");
    runCancelledAfterAMoment(f, &drawFractal);
    EXPECT_EQ(f.canvasWindow.shown, 1);  // shown with what was drawn
    EXPECT_EQ(f.drawing.recursionLevel, 21);
  }
  {
    SCOPED_TRACE("chaos game of 2147483647 steps");
    PanelFixture f;
    fill(f, 3, {"0.5", "0", "0", "0.5", "0.25", "0.5", "0.33"});
    f.state.countText = QStringLiteral("2147483647");
    runCancelledAfterAMoment(f, &drawChaosGame);
    EXPECT_EQ(f.canvasWindow.shown, 1);
    // Three copies of one map run the points into its fixed point within a few dozen steps, so
    // what was drawn, and stays, is the reference game of any longer count.
    DrawingState reference = f.drawing;
    reference.iterationCount = 1000;
    Canvas canvas(640, 480, 15.0, kWhite);
    ChaosRandom random;
    ASSERT_TRUE(drawReference(canvas, DrawingKind::ChaosGame, reference, random, RenderControl{}));
    EXPECT_EQ(f.canvasWindow.canvas().picture(), canvas.picture());
  }
}

}  // namespace
}  // namespace quill
