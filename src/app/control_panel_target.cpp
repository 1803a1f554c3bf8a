// The target shape the maps are fitted to: chosen and cleared from "Tools", shown by the map
// editor with the collage of the maps over it, and fitted to there.

#include <QAction>
#include <QMenu>

#include "app/collage_overlay.h"
#include "app/control_panel.h"
#include "app/map_editor.h"
#include "app/target_fit.h"
#include "core/document/document.h"

namespace quill {

void ControlPanel::addTargetActions(QMenu* tools) {
  QAction* load = tools->addAction(tr("Target Image..."));
  load->setObjectName(QStringLiteral("targetImageAction"));
  connect(load, &QAction::triggered, this, &ControlPanel::chooseTargetImage);
  QAction* clear = tools->addAction(tr("Clear Target"));
  clear->setObjectName(QStringLiteral("clearTargetAction"));
  clear->setEnabled(false);
  connect(clear, &QAction::triggered, this, &ControlPanel::clearTarget);
  connect(collage_, &CollageOverlay::loaded, this, &ControlPanel::targetLoaded);
  connect(collage_, &CollageOverlay::changed, clear,
          [this, clear] { clear->setEnabled(collage_->hasTarget()); });

  connect(targetFit_, &TargetFit::improved, this, &ControlPanel::fittedMapsShown);
  connect(targetFit_, &TargetFit::ended, this, [this] {
    fittedMapsShown();
    if (mapEditor_) mapEditor_->setFitting(false);
  });
}

void ControlPanel::chooseTargetImage() {
  const std::optional<TargetChoice> choice = document_.dialogs.openTargetImage();
  if (!choice) return;
  loadTargetImage(choice->path, choice->invert);
}

void ControlPanel::loadTargetImage(const QString& path, bool invert) {
  // A large picture takes a moment to read and threshold: the window stays live meanwhile.
  collage_->load(path, invert);
}

void ControlPanel::targetLoaded(const QString& failure) {
  if (!failure.isEmpty()) {
    document_.dialogs.message(failure);
    return;
  }
  // The target is seen, and fitted to, in the map editor.
  openMapEditor();
}

void ControlPanel::clearTarget() {
  targetFit_->stop();
  collage_->clear();
}

void ControlPanel::fitToTarget() {
  const int seconds = mapEditor_ ? mapEditor_->fitSeconds() : MapEditor::kDefaultFitSeconds;
  if (targetFit_->start(collage_->target(), seconds) && mapEditor_) mapEditor_->setFitting(true);
}

void ControlPanel::fittedMapsShown() {
  refreshFromState();
  editorModel_.syncFromGrid();
  gridChanged();
}

}  // namespace quill
