// Numbers from anywhere: whatever the grid holds, the drawing commands draw what the numbers say,
// or stop when asked, without crashing or undefined behaviour (the sanitizer run checks that).

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "core/canvas/canvas.h"
#include "support/fakes.h"

namespace quill {
namespace {

using testing::PanelFixture;
using Row = std::array<QString, kColumnCount>;

// Fills `count` rows with the same map.
void fill(PanelFixture& f, int count, const Row& row) {
  for (int i = 1; i <= count; ++i) f.setRow(i, row);
}

int inkedPixels(PanelFixture& f) {
  const QImage picture = f.form1.canvas().picture();
  int count = 0;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) count += (picture.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
  }
  return count;
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
    f.state.Text1 = QStringLiteral("100000");
    f.panel.cmdChaos_Click();
    f.state.Text1 = QStringLiteral("6");
    f.panel.cmdFractal_Click();
    f.panel.mnuPattern_Click(11);  // "User": squares instead of triangles
    fill(f, 3, c.row);
    f.panel.cmdFractal_Click();
    f.panel.cmdBluePrint_Click();
    EXPECT_TRUE(f.dialogs.messages.isEmpty());
    EXPECT_EQ(f.form1.shown, 4);
    EXPECT_GT(inkedPixels(f), 0);  // the frame at least
  }
}

// Runs `command` with its cancel flag raised after a moment. A drawing that ignores the flag
// hangs here, and ctest's timeout reports it.
void runCancelledAfterAMoment(PanelFixture& f, void (Panel::*command)()) {
  std::atomic<bool> cancel{false};
  RenderControl control;
  control.cancel = &cancel;
  f.panel.setRenderControl(control);
  std::thread canceller([&cancel] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    cancel.store(true);
  });
  (f.panel.*command)();
  canceller.join();
}

TEST(HostileDrawing, EndlessDrawingsStopWhenCancelled) {
  {
    SCOPED_TRACE("depth 20 with ten expanding maps");
    PanelFixture f;
    fill(f, 10, {"1.5", "0.2", "-0.2", "1.5", "0.1", "0.1", "0.1"});
    f.state.Text1 = QStringLiteral("20");
    runCancelledAfterAMoment(f, &Panel::cmdFractal_Click);
    EXPECT_EQ(f.form1.shown, 1);  // shown with what was drawn
    EXPECT_EQ(f.module1.recursionLevel, 21);
  }
  {
    SCOPED_TRACE("chaos game of 2147483647 steps");
    PanelFixture f;
    fill(f, 3, {"0.5", "0", "0", "0.5", "0.25", "0.5", "0.33"});
    f.state.Text1 = QStringLiteral("2147483647");
    runCancelledAfterAMoment(f, &Panel::cmdChaos_Click);
    EXPECT_EQ(f.form1.shown, 1);
    EXPECT_GT(inkedPixels(f), 100);
  }
}

}  // namespace
}  // namespace quill
