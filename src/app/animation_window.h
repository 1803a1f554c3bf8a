#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <functional>
#include <optional>

#include "core/editor/panel_step.h"
#include "core/morph/animation.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace quill {

struct Document;
class AnimationTimeline;

// "Tools" -> "Animation...": the keys of a morph on a timeline. Keys are taken from the grid and
// put back into it (one undo step), moved and removed; the easing, the loop and each segment's
// matching of maps are chosen here, and the whole is opened from and saved to a .qmanim file.
// Scrubbing the playhead or playing shows the morph in the grid, and so in the Map Editor's
// preview, without an undo step: a scrub only looks, and the grid's texts come back when it
// ends. Opening a key is what changes the grid.
class AnimationWindow : public QWidget {
  Q_OBJECT

 public:
  // The window's one way to ask for a file's name (empty: the user cancelled); tests script it.
  using FileNameAsker = std::function<QString(bool save)>;

  explicit AnimationWindow(Document& document, QWidget* parent = nullptr);
  ~AnimationWindow() override;

  const Animation& animation() const { return animation_; }
  int selectedKey() const { return selected_; }
  void setFileNameAsker(FileNameAsker asker) { askFileName_ = std::move(asker); }

  // The window's commands, as its buttons run them.
  void addKey();
  void openKey();
  void removeSelectedKey();
  void selectKey(int index);
  void moveSelectedKey(double time);
  void openAnimation();
  void saveAnimation();
  // The grid shows the morph at `time`; endScrub() gives back the texts it held before.
  void scrubTo(double time);
  void endScrub();
  void play();
  void pause();
  bool playing() const;

 signals:
  // The window changed the grid's texts (a scrub, its end, an opened key): the panel and the
  // other tool windows follow.
  void gridShown();

 protected:
  void hideEvent(QHideEvent* event) override;

 private:
  void buildLayout();
  // The plan, the timeline, the key's time and the selected segment's matching shown afresh
  // after the keys changed.
  void keysChanged();
  void showSegment();
  void applyMatchingText();
  void step();  // one frame of playing
  double endTime() const;

  Document& document_;
  Animation animation_;
  std::optional<AnimationPlan> plan_;
  QString planMessage_;  // why there is no plan
  int selected_ = -1;
  std::optional<PanelSnapshot> beforeScrub_;
  FileNameAsker askFileName_;
  QString lastPath_;
  QTimer* playTimer_ = nullptr;
  QElapsedTimer playClock_;
  double playFrom_ = 0;

  AnimationTimeline* timeline_ = nullptr;
  QDoubleSpinBox* time_ = nullptr;
  QComboBox* easing_ = nullptr;
  QCheckBox* loop_ = nullptr;
  QPushButton* playButton_ = nullptr;
  QLabel* segment_ = nullptr;
  QLineEdit* matching_ = nullptr;
  QLabel* notes_ = nullptr;
};

}  // namespace quill
