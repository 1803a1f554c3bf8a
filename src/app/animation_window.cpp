#include "app/animation_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <algorithm>

#include "app/animation_timeline.h"
#include "core/base/message_text.h"
#include "core/document/document.h"
#include "core/morph/key_editing.h"
#include "core/morph/key_file.h"
#include "core/movie/movie_setup.h"

namespace quill {

AnimationWindow::AnimationWindow(Document& document, QWidget* parent)
    : QWidget(parent, Qt::Dialog), document_(document) {
  setObjectName(QStringLiteral("animationWindow"));
  buildLayout();
  keysChanged();
  // A step taken while the morph is shown (typing, Undo, a command) works on the texts shown;
  // giving back the texts of before the scrub afterwards would undo the user's step unseen.
  connect(&document_.undoStack, &QUndoStack::indexChanged, this, [this] {
    if (!beforeScrub_) return;
    beforeScrub_.reset();
    pause();
  });
}

AnimationWindow::~AnimationWindow() = default;

void AnimationWindow::addKey() {
  endScrub();
  const Result<std::vector<WeightedMap>> maps = gridKeyMaps(document_.state);
  if (!maps) {
    document_.dialogs.message(maps.message());
    return;
  }
  AnimationKey key;
  key.maps = *maps;
  key.name = document_.state.caption;
  // The pattern decides the fractal's figure (triangle or square) when the key is exported.
  if (document_.state.selectedPattern) key.source = patternSource(*document_.state.selectedPattern);
  key.time = animation_.keys.empty() ? 0 : animation_.keys.back().time + 1;
  selected_ = insertKey(animation_, std::move(key));
  keysChanged();
}

void AnimationWindow::openKey() {
  endScrub();
  if (selected_ < 0) return;
  const PanelSnapshot before = PanelSnapshot::of(document_.state);
  putMapsInGrid(document_.state, animation_.keys[std::size_t(selected_)].maps);
  recordStep(document_.undoStack, document_.state, before, tr("Open Key"));
  emit gridShown();
}

void AnimationWindow::removeSelectedKey() {
  if (selected_ < 0) return;
  endScrub();
  removeKey(animation_, selected_);
  selected_ = std::min(selected_, int(animation_.keys.size()) - 1);
  keysChanged();
}

void AnimationWindow::selectKey(int index) {
  selected_ = index;
  keysChanged();
}

void AnimationWindow::moveSelectedKey(double time) {
  if (selected_ < 0) return;
  const auto [low, high] = keyTimeRange(animation_, selected_);
  animation_.keys[std::size_t(selected_)].time = std::clamp(time, low, high);
  keysChanged();
}

void AnimationWindow::openAnimation() {
  const QString path = askFileName_(false);
  if (path.isEmpty()) return;
  const Result<Animation> read = readAnimationFile(path);
  if (!read) {
    document_.dialogs.message(read.message());
    return;
  }
  endScrub();
  pause();
  lastPath_ = path;
  animation_ = *read;
  selected_ = animation_.keys.empty() ? -1 : 0;
  {
    const QSignalBlocker quietEasing(easing_), quietLoop(loop_);
    easing_->setCurrentIndex(int(animation_.easing));
    loop_->setChecked(animation_.loop);
  }
  keysChanged();
}

void AnimationWindow::saveAnimation() {
  QString path = askFileName_(true);
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".qmanim");
  const Status saved = writeAnimationFile(path, animation_);
  if (!saved) {
    document_.dialogs.message(saved.message());
    return;
  }
  lastPath_ = path;
}

void AnimationWindow::scrubTo(double time) {
  if (!plan_) return;
  if (!beforeScrub_) beforeScrub_ = PanelSnapshot::of(document_.state);
  timeline_->setPlayhead(time);
  putMapsInGrid(document_.state, systemAt(*plan_, time));
  emit gridShown();
}

void AnimationWindow::endScrub() {
  if (playing()) return;
  if (!beforeScrub_) return;
  beforeScrub_->restore(document_.state);
  beforeScrub_.reset();
  emit gridShown();
}

void AnimationWindow::play() {
  if (!plan_ || playing()) return;
  // From the start again when the playhead stands at the end.
  playFrom_ = timeline_->playhead() >= endTime() ? plan_->keys.front().time : timeline_->playhead();
  playClock_.start();
  playTimer_->start();
  playButton_->setText(tr("Pause"));
  scrubTo(playFrom_);
}

void AnimationWindow::pause() {
  if (!playing()) return;
  playTimer_->stop();
  playButton_->setText(tr("Play"));
  endScrub();
}

bool AnimationWindow::playing() const { return playTimer_->isActive(); }

void AnimationWindow::step() {
  if (!plan_) {
    pause();
    return;
  }
  const double start = plan_->keys.front().time, end = endTime();
  double time = playFrom_ + double(playClock_.elapsed()) / 1000.0;
  if (time >= end) {
    if (!animation_.loop || end <= start) {
      scrubTo(end);
      pause();
      return;
    }
    time = start + std::fmod(time - start, end - start);
  }
  scrubTo(time);
}

double AnimationWindow::endTime() const {
  if (plan_) return plan_->keys.back().time;
  return animation_.keys.empty() ? 0 : animation_.keys.back().time;
}

void AnimationWindow::hideEvent(QHideEvent* event) {
  // A closed window leaves the grid as the user left it, not at a frame of the morph, and stops
  // its export; an earlier movie stays as it was.
  pause();
  endScrub();
  if (exporting()) {
    cancelExport();
    exports_.finishNow();
  }
  QWidget::hideEvent(event);
}

void AnimationWindow::keysChanged() {
  plan_.reset();
  planMessage_.clear();
  if (!animation_.keys.empty()) {
    Result<AnimationPlan> plan = planAnimation(animation_);
    if (plan) {
      plan_ = std::move(*plan);
    } else {
      planMessage_ = messageText(plan.message());
    }
  }
  std::vector<double> times;
  for (const AnimationKey& key : animation_.keys) times.push_back(key.time);
  timeline_->setKeys(times, endTime());
  timeline_->setSelected(selected_);
  const bool hasKey = selected_ >= 0;
  {
    const QSignalBlocker quiet(time_);
    time_->setEnabled(hasKey);
    if (hasKey) {
      const auto [low, high] = keyTimeRange(animation_, selected_);
      time_->setRange(std::max(low, -1e5), std::min(high, 1e5));
      time_->setValue(animation_.keys[std::size_t(selected_)].time);
    }
  }
  for (const char* name : {"openKeyButton", "removeKeyButton"}) {
    findChild<QPushButton*>(QString::fromLatin1(name))->setEnabled(hasKey);
  }
  playButton_->setEnabled(plan_.has_value());
  exportButton_->setEnabled(plan_.has_value() && !exporting());
  showSegment();
}

void AnimationWindow::showSegment() {
  const int segments = segmentCount(animation_);
  const bool shown = selected_ >= 0 && selected_ < segments && plan_;
  matching_->setEnabled(shown);
  QStringList notes;
  if (!planMessage_.isEmpty()) notes << planMessage_;
  if (!shown) {
    segment_->setText(tr("Matching:"));
    matching_->clear();
  } else {
    const int later = selected_ + 1 < int(animation_.keys.size()) ? selected_ + 2 : 1;
    segment_->setText(tr("Key %1 → Key %2:").arg(selected_ + 1).arg(later));
    matching_->setText(matchingText(plan_->matchings[std::size_t(selected_)]));
    for (const TurnOver& turnOver : plan_->turnOvers) {
      if (turnOver.earlierKey == selected_ + 1) notes << turnOverMessage(turnOver);
    }
  }
  notes_->setText(notes.join(QLatin1Char('\n')));
  // A long note takes room from the timeline unless the window grows to hold it.
  if (isVisible() && height() < sizeHint().height()) resize(width(), sizeHint().height());
}

void AnimationWindow::applyMatchingText() {
  const int segments = segmentCount(animation_);
  if (selected_ < 0 || selected_ >= segments || !plan_) return;
  const QString text = matching_->text();
  if (text == matchingText(plan_->matchings[std::size_t(selected_)])) return;
  const Result<Matching> read = readMatchingText(text);
  const std::size_t earlier = animation_.keys[std::size_t(selected_)].maps.size();
  const std::size_t later =
      animation_.keys[std::size_t(selected_ + 1) % animation_.keys.size()].maps.size();
  Status fits =
      read ? checkMatching(*read, int(earlier), int(later)) : Status(Failure{read.message()});
  if (!fits) {
    notes_->setText(messageText(fits.message()));
    return;
  }
  animation_.matchings[selected_] = *read;
  keysChanged();
}

}  // namespace quill
