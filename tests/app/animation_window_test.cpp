// The Animation window as a user meets it: keys taken from the grid and put back, the scrub that
// shows the morph without an undo step, and its file.

#include "app/animation_window.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstring>

#include "core/morph/key_editing.h"
#include "support/running_program.h"

namespace quill {
namespace {

class AnimationWindowTest : public testing::RunningProgram {
 protected:
  void SetUp() override {
    startWith(kSierpinskiPattern);
    trigger(QStringLiteral("animationAction"));
    window = program.controlPanel->animationWindow();
    ASSERT_NE(window, nullptr);
  }
  std::vector<WeightedMap> gridMaps() const {
    const Result<std::vector<WeightedMap>> maps = gridKeyMaps(program.document->state);
    EXPECT_TRUE(maps) << maps.message().toStdString();
    return maps ? *maps : std::vector<WeightedMap>{};
  }
  // Sierpinski at 0 s, Fern at 1 s; the grid left with the fern.
  void addTwoKeys() {
    window->addKey();
    pick(kFernPattern);
    window->addKey();
    ASSERT_EQ(window->animation().keys.size(), 2u);
  }
  static bool sameBits(const std::vector<WeightedMap>& a, const std::vector<WeightedMap>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof a[0]) == 0;
  }

  AnimationWindow* window = nullptr;
};

TEST_F(AnimationWindowTest, AddKeyTakesTheGridAsDrawingReadsIt) {
  const std::vector<WeightedMap> sierpinski = gridMaps();
  addTwoKeys();
  EXPECT_TRUE(sameBits(window->animation().keys[0].maps, sierpinski));
  EXPECT_TRUE(sameBits(window->animation().keys[1].maps, gridMaps()));
  EXPECT_EQ(window->animation().keys[1].time, 1.0);

  program.document->state.cell(2, kColB) = QStringLiteral("abc");
  window->addKey();
  EXPECT_EQ(window->animation().keys.size(), 2u);
  ASSERT_FALSE(dialogs.messages.isEmpty());
  EXPECT_EQ(dialogs.messages.last(), kInvalidValueMessage);
}

TEST_F(AnimationWindowTest, OpenKeyIsOneStepThatUndoGivesBack) {
  const std::vector<WeightedMap> sierpinski = gridMaps();
  addTwoKeys();
  const auto fernGrid = program.document->state.grid;
  const int steps = program.document->undoStack.count();
  window->selectKey(0);
  window->openKey();
  EXPECT_TRUE(sameBits(gridMaps(), sierpinski));
  EXPECT_EQ(program.document->undoStack.count(), steps + 1);
  program.controlPanel->undo();
  EXPECT_EQ(program.document->state.grid, fernGrid);
}

TEST_F(AnimationWindowTest, AScrubShowsEachKeyExactlyAndLeavesNoStep) {
  addTwoKeys();
  const auto before = program.document->state.grid;
  const int steps = program.document->undoStack.count();
  for (int key : {0, 1}) {
    window->scrubTo(window->animation().keys[std::size_t(key)].time);
    EXPECT_TRUE(sameBits(gridMaps(), window->animation().keys[std::size_t(key)].maps))
        << "key " << key + 1;
  }
  window->scrubTo(0.5);  // between them the grid holds some morph of both
  EXPECT_NE(program.document->state.grid, before);
  window->endScrub();
  EXPECT_EQ(program.document->state.grid, before);
  EXPECT_EQ(program.document->undoStack.count(), steps);
}

TEST_F(AnimationWindowTest, AStepTakenDuringAScrubIsNotTakenBackByItsEnd) {
  addTwoKeys();
  window->scrubTo(0.5);
  pick(kTreePattern);
  const auto tree = program.document->state.grid;
  window->endScrub();
  EXPECT_EQ(program.document->state.grid, tree);
}

TEST_F(AnimationWindowTest, SavedAnimationOpensAsItWas) {
  addTwoKeys();
  window->selectKey(1);
  window->moveSelectedKey(2.5);
  QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("morph"));
  window->setFileNameAsker([&](bool) { return path; });
  window->saveAnimation();
  const Animation saved = window->animation();
  window->removeSelectedKey();
  window->setFileNameAsker([&](bool) { return path + QStringLiteral(".qmanim"); });
  window->openAnimation();
  EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('\n').toStdString();
  ASSERT_EQ(window->animation().keys.size(), saved.keys.size());
  for (std::size_t i = 0; i < saved.keys.size(); ++i) {
    EXPECT_EQ(window->animation().keys[i].time, saved.keys[i].time);
    EXPECT_TRUE(sameBits(window->animation().keys[i].maps, saved.keys[i].maps));
  }
}

}  // namespace
}  // namespace quill
