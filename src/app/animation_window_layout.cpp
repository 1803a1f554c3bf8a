#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "app/animation_timeline.h"
#include "app/animation_window.h"

namespace quill {

void AnimationWindow::buildLayout() {
  setWindowTitle(tr("Animation"));
  auto* layout = new QVBoxLayout(this);
  timeline_ = new AnimationTimeline(this);
  timeline_->setObjectName(QStringLiteral("animationTimeline"));
  layout->addWidget(timeline_);

  auto addButton = [this](QHBoxLayout* row, const QString& caption, const char* name,
                          void (AnimationWindow::*command)()) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    connect(button, &QPushButton::clicked, this, command);
    row->addWidget(button);
    return button;
  };
  auto* keys = new QHBoxLayout;
  addButton(keys, tr("Add Key"), "addKeyButton", &AnimationWindow::addKey);
  addButton(keys, tr("Open Key"), "openKeyButton", &AnimationWindow::openKey);
  addButton(keys, tr("Remove Key"), "removeKeyButton", &AnimationWindow::removeSelectedKey);
  keys->addWidget(new QLabel(tr("Time:"), this));
  time_ = new QDoubleSpinBox(this);
  time_->setObjectName(QStringLiteral("keyTimeBox"));
  time_->setDecimals(3);
  time_->setSuffix(tr(" s"));
  time_->setKeyboardTracking(false);
  keys->addWidget(time_);
  layout->addLayout(keys);

  auto* motion = new QHBoxLayout;
  motion->addWidget(new QLabel(tr("Easing:"), this));
  easing_ = new QComboBox(this);
  easing_->setObjectName(QStringLiteral("easingBox"));
  easing_->addItems({tr("Linear"), tr("Smooth"), tr("Spline")});
  motion->addWidget(easing_);
  loop_ = new QCheckBox(tr("Loop"), this);
  loop_->setObjectName(QStringLiteral("loopBox"));
  motion->addWidget(loop_);
  motion->addStretch();
  playButton_ = new QPushButton(tr("Play"), this);
  playButton_->setObjectName(QStringLiteral("playButton"));
  connect(playButton_, &QPushButton::clicked, this, [this] { playing() ? pause() : play(); });
  motion->addWidget(playButton_);
  layout->addLayout(motion);

  auto* matchingRow = new QHBoxLayout;
  segment_ = new QLabel(this);
  matchingRow->addWidget(segment_);
  matching_ = new QLineEdit(this);
  matching_->setObjectName(QStringLiteral("matchingField"));
  matching_->setToolTip(tr("Which map of the earlier key becomes which of the later: 1→2, 2→1"));
  matchingRow->addWidget(matching_, 1);
  auto* automatic = new QPushButton(tr("Automatic"), this);
  automatic->setObjectName(QStringLiteral("automaticMatchingButton"));
  matchingRow->addWidget(automatic);
  layout->addLayout(matchingRow);
  notes_ = new QLabel(this);
  notes_->setObjectName(QStringLiteral("animationNotes"));
  notes_->setWordWrap(true);
  layout->addWidget(notes_);

  auto* files = new QHBoxLayout;
  addButton(files, tr("Open..."), "openAnimationButton", &AnimationWindow::openAnimation);
  addButton(files, tr("Save..."), "saveAnimationButton", &AnimationWindow::saveAnimation);
  files->addStretch();
  exportButton_ =
      addButton(files, tr("Export..."), "exportMovieButton", &AnimationWindow::exportMovie);
  cancelExportButton_ =
      addButton(files, tr("Cancel"), "cancelExportButton", &AnimationWindow::cancelExport);
  cancelExportButton_->setEnabled(false);
  layout->addLayout(files);
  exportProgress_ = new QProgressBar(this);
  exportProgress_->setObjectName(QStringLiteral("exportProgress"));
  exportProgress_->setRange(0, 1000);
  exportProgress_->setTextVisible(false);
  layout->addWidget(exportProgress_);
  exportStatus_ = new QLabel(this);
  exportStatus_->setObjectName(QStringLiteral("exportStatus"));
  exportStatus_->setWordWrap(true);
  layout->addWidget(exportStatus_);
  connect(&exports_, &JobRunner::progressed, exportProgress_, &QProgressBar::setValue);
  layout->addStretch();

  connect(timeline_, &AnimationTimeline::keySelected, this, &AnimationWindow::selectKey);
  connect(timeline_, &AnimationTimeline::keyDragged, this, [this](int index, double time) {
    if (index == selected_) moveSelectedKey(time);
  });
  connect(timeline_, &AnimationTimeline::scrubbed, this, &AnimationWindow::scrubTo);
  connect(timeline_, &AnimationTimeline::scrubEnded, this, &AnimationWindow::endScrub);
  connect(time_, &QDoubleSpinBox::valueChanged, this, &AnimationWindow::moveSelectedKey);
  connect(easing_, &QComboBox::currentIndexChanged, this, [this](int index) {
    animation_.easing = Easing(index);
    keysChanged();
  });
  connect(loop_, &QCheckBox::toggled, this, [this](bool on) {
    animation_.loop = on;
    keysChanged();
  });
  connect(matching_, &QLineEdit::editingFinished, this, &AnimationWindow::applyMatchingText);
  connect(automatic, &QPushButton::clicked, this, [this] {
    animation_.matchings.erase(selected_);
    keysChanged();
  });

  playTimer_ = new QTimer(this);
  // The Map Editor's preview shows a frame every 16 ms; playing goes at the same pace.
  playTimer_->setInterval(16);
  connect(playTimer_, &QTimer::timeout, this, &AnimationWindow::step);

  askMovie_ = [this](const MovieChoice& last) { return askMovie(last); };
  askFileName_ = [this](bool save) {
    const QString filter = tr("Animations (*.qmanim)");
    return save ? QFileDialog::getSaveFileName(this, tr("Save Animation"), lastPath_, filter)
                : QFileDialog::getOpenFileName(this, tr("Open Animation"), lastPath_, filter);
  };
}

}  // namespace quill
