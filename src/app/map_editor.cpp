#include "app/map_editor.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>

#include "app/collage_overlay.h"
#include "app/map_canvas.h"
#include "app/map_numbers_panel.h"
#include "core/base/message_text.h"

namespace quill {

namespace {

// The keys as this platform writes them ("Ctrl+Z").
QString keyText(const QKeySequence& key) { return key.toString(QKeySequence::NativeText); }

const char* const kKeysText = QT_TRANSLATE_NOOP(
    "quill::MapEditor",
    "<table cellspacing=4>"
    "<tr><th align=left colspan=2>Mouse</th></tr>"
    "<tr><td>Drag a corner</td><td>moves that corner alone</td></tr>"
    "<tr><td>Drag inside a map</td><td>moves the map whole</td></tr>"
    "<tr><td>Drag an edge's dot</td><td>shears the map along that edge</td></tr>"
    "<tr><td>Drag the round handle</td><td>turns the map about its centre (Shift: 15° steps)</td>"
    "</tr>"
    "<tr><td>Drag the diamond</td><td>scales the map about its centre (Ctrl: about P0)</td></tr>"
    "<tr><td>Ctrl while dragging</td><td>snaps to other maps' corners and a 0.05 grid</td></tr>"
    "<tr><td>Click again on one spot</td><td>takes the next map or corner there</td></tr>"
    "<tr><td>Drag empty space</td><td>pans; the wheel zooms</td></tr>"
    "<tr><th align=left colspan=2>Keys</th></tr>"
    "<tr><td>1 … 9, 0</td><td>select map 1 … 10</td></tr>"
    "<tr><td>Tab, Shift+Tab</td><td>the next or last handle</td></tr>"
    "<tr><td>Arrows</td><td>move it by 0.01 (Shift 0.1, Alt 0.001)</td></tr>"
    "<tr><td>Escape</td><td>cancels the drag under way, or stops Fit to Target</td></tr>"
    "<tr><td>Insert, Delete</td><td>add a copy of the map, remove it</td></tr>"
    "<tr><td>F, A, Home</td><td>fit the attractor, frame all, show the unit square</td></tr>"
    "<tr><td>T</td><td>hides and shows the target (\"Tools\" → \"Target Image...\")</td></tr>"
    "<tr><td>Ctrl+Z, Ctrl+Shift+Z</td><td>undo, redo</td></tr>"
    "</table>");

}  // namespace

MapEditor::MapEditor(MapEditorModel& model, QWidget* parent)
    : QWidget(parent, Qt::Dialog), model_(model) {
  setObjectName(QStringLiteral("mapEditor"));
  setWindowTitle(tr("Map Editor"));
  canvas_ = new MapCanvas(model_, this);
  numbers_ = new MapNumbersPanel(model_, this);
  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("mapEditorStatus"));
  status_->setWordWrap(true);
  // Room for four lines whatever it says, so that the drawing above keeps its size (and its view)
  // as the text changes.
  status_->setFixedHeight(status_->fontMetrics().lineSpacing() * 4 + 4);
  status_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  auto* buttons = new QHBoxLayout;
  auto addButton = [this, buttons](const QString& caption, const char* name, const QString& tip,
                                   auto action) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    button->setFocusPolicy(Qt::NoFocus);  // the keys stay with the drawing
    button->setToolTip(tip);
    connect(button, &QPushButton::clicked, this, action);
    buttons->addWidget(button);
    return button;
  };
  auto step = [this](auto change) {
    return [this, change] {
      said_.clear();
      const auto done = (model_.*change)();
      if constexpr (std::is_same_v<decltype(done), const Status>) {
        if (!done) said_ = done.message();
      }
      if (done) {
        canvas_->modelChanged();
        measureCollage();
        numbers_->showSelection();
        emit gridEdited();
      }
      showStatus();
    };
  };
  const auto tip = [](const QString& what, const QKeySequence& key) {
    return QStringLiteral("%1 (%2)").arg(what, keyText(key));
  };
  addButton(tr("Insert Map"), "insertMap",
            tip(tr("Adds a copy of the selected map beside it"), Qt::Key_Insert),
            step(&MapEditorModel::insertMap));
  addButton(tr("Delete Map"), "deleteMap", tip(tr("Removes the selected map"), Qt::Key_Delete),
            step(&MapEditorModel::deleteSelected));
  QPushButton* undo = addButton(tr("Undo"), "undo", {}, step(&MapEditorModel::undo));
  QPushButton* redo = addButton(tr("Redo"), "redo", {}, step(&MapEditorModel::redo));
  followSteps(undo, false, keyText(QKeySequence::Undo));
  followSteps(redo, true, keyText(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)));
  buttons->addStretch();
  addButton(tr("Fit"), "fit", tip(tr("Frames the attractor"), Qt::Key_F),
            [this] { canvas_->fitAttractor(); });
  addButton(tr("Frame All"), "frameAll", tip(tr("Frames the attractor and every map"), Qt::Key_A),
            [this] { canvas_->frameAll(); });
  addButton(tr("Unit Square"), "unitSquare", tip(tr("Shows the unit square"), Qt::Key_Home),
            [this] { canvas_->showUnitSquare(); });
  addButton(tr("Keys"), "keys", tip(tr("Lists the keys and mouse actions"), Qt::Key_F1),
            [this] { showKeys(); });

  // The target's row, shown while there is a target: the collage's measures, how strongly the
  // shape shows, and the fit.
  collageRow_ = new QWidget(this);
  collageRow_->setObjectName(QStringLiteral("collageRow"));
  strip_ = new QLabel(collageRow_);
  strip_->setObjectName(QStringLiteral("collageStrip"));
  // The measures' text changes with every step; it must not widen the window.
  // Two lines, the collage's and the attractor's, kept so that the drawing keeps its size.
  strip_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  strip_->setFixedHeight(strip_->fontMetrics().lineSpacing() * 2 + 2);
  strip_->setToolTip(
      tr("How far the maps' images of the target lie from it, in units of the square, and how far "
         "the attractor can then lie from it. Red: target no map covers; blue: images outside the "
         "target. T hides the target."));
  opacity_ = new QSlider(Qt::Horizontal, collageRow_);
  opacity_->setObjectName(QStringLiteral("targetOpacity"));
  opacity_->setRange(0, 100);
  opacity_->setFixedWidth(90);
  opacity_->setFocusPolicy(Qt::NoFocus);
  opacity_->setToolTip(tr("How strongly the target shows (T hides it)"));
  fit_ = new QPushButton(tr("Fit to Target"), collageRow_);
  fit_->setObjectName(QStringLiteral("fitToTarget"));
  fit_->setFocusPolicy(Qt::NoFocus);
  fit_->setToolTip(
      tr("Improves the maps toward the target, keeping their number (with no maps, asks how many); "
         "one undo step"));
  stop_ = new QPushButton(tr("Stop"), collageRow_);
  stop_->setObjectName(QStringLiteral("stopFit"));
  stop_->setFocusPolicy(Qt::NoFocus);
  // Escape stops what is under way: while a fit runs (and only then is this button shown, its
  // key live), that is the fit.
  stop_->setShortcut(QKeySequence(Qt::Key_Escape));
  stop_->setToolTip(tr("Stops the fit, keeping the best maps so far (%1)")
                        .arg(keyText(QKeySequence(Qt::Key_Escape))));
  stop_->hide();
  // How long a fit may search before it keeps what it has; it ends sooner once it converges.
  auto* limitLabel = new QLabel(tr("Time limit"), collageRow_);
  fitSeconds_ = new QSpinBox(collageRow_);
  fitSeconds_->setObjectName(QStringLiteral("fitTimeLimit"));
  fitSeconds_->setRange(1, kMostFitSeconds);
  fitSeconds_->setValue(kDefaultFitSeconds);
  fitSeconds_->setSuffix(tr(" s"));
  fitSeconds_->setToolTip(
      tr("The longest a fit searches, in seconds of a two-core machine (a busier or slower one "
         "takes longer, for the same maps); it ends sooner once it converges, and at once on "
         "Stop"));
  limitLabel->setBuddy(fitSeconds_);
  connect(fit_, &QPushButton::clicked, this, &MapEditor::fitAsked);
  connect(stop_, &QPushButton::clicked, this, &MapEditor::stopAsked);
  auto* collageLayout = new QHBoxLayout(collageRow_);
  collageLayout->setContentsMargins(0, 0, 0, 0);
  collageLayout->addWidget(strip_, 1);
  collageLayout->addWidget(opacity_);
  collageLayout->addWidget(limitLabel);
  collageLayout->addWidget(fitSeconds_);
  collageLayout->addWidget(fit_);
  collageLayout->addWidget(stop_);
  collageRow_->hide();

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(canvas_, 1);
  layout->addWidget(collageRow_);
  layout->addWidget(numbers_);
  layout->addWidget(status_);
  connect(canvas_, &MapCanvas::gridEdited, this, [this] {
    measureCollage();
    numbers_->showSelection();
    showStatus();
    emit gridEdited();
  });
  connect(canvas_, &MapCanvas::selectionChanged, this, [this] {
    numbers_->showSelection();
    showStatus();
  });
  connect(canvas_, &MapCanvas::said, this, [this](const QString& message) {
    said_ = message;
    showStatus();
  });
  connect(canvas_, &MapCanvas::keysAsked, this, &MapEditor::showKeys);
  connect(numbers_, &MapNumbersPanel::gridEdited, this, [this] {
    canvas_->modelChanged();
    measureCollage();
    showStatus();
    emit gridEdited();
  });
  resize(720, 800);
  showStatus();
}

MapEditor::~MapEditor() = default;

QWidget* MapEditor::keysWindow() const { return keys_; }

void MapEditor::showKeys() {
  if (keys_ == nullptr) {
    keys_ = new QDialog(this);
    keys_->setObjectName(QStringLiteral("mapEditorKeys"));
    keys_->setWindowTitle(tr("Map Editor Keys"));
    auto* text = new QLabel(tr(kKeysText), keys_);
    text->setObjectName(QStringLiteral("mapEditorKeysText"));
    auto* close = new QPushButton(tr("Close"), keys_);
    connect(close, &QPushButton::clicked, keys_, &QDialog::close);
    auto* layout = new QVBoxLayout(keys_);
    layout->addWidget(text);
    layout->addWidget(close, 0, Qt::AlignRight);
  }
  keys_->show();
  keys_->raise();
  keys_->activateWindow();
}

void MapEditor::followSteps(QPushButton* button, bool redo, const QString& key) {
  // As the panel's "Tools" items: enabled only when there is a step, which the tip names.
  QUndoStack& steps = model_.steps();
  auto name = [button, verb = button->text(), key](const QString& step) {
    button->setToolTip(
        QStringLiteral("%1 (%2)").arg(step.isEmpty() ? verb : verb + u' ' + step, key));
  };
  name(redo ? steps.redoText() : steps.undoText());
  button->setEnabled(redo ? steps.canRedo() : steps.canUndo());
  connect(&steps, redo ? &QUndoStack::redoTextChanged : &QUndoStack::undoTextChanged, button, name);
  connect(&steps, redo ? &QUndoStack::canRedoChanged : &QUndoStack::canUndoChanged, button,
          &QPushButton::setEnabled);
}

void MapEditor::gridChanged() {
  canvas_->modelChanged();
  measureCollage();
  numbers_->showSelection();
  showStatus();
}

void MapEditor::mapsReplaced() {
  gridChanged();
  canvas_->frameAll();
}

void MapEditor::setCollage(CollageOverlay* collage) {
  collage_ = collage;
  canvas_->setCollage(collage);
  opacity_->setValue(int(std::lround(collage_->opacity() * 100)));
  connect(opacity_, &QSlider::valueChanged, collage_,
          [this](int value) { collage_->setOpacity(value / 100.0); });
  connect(collage_, &CollageOverlay::changed, this, &MapEditor::showCollage);
  showCollage();
  measureCollage();
}

int MapEditor::fitSeconds() const { return fitSeconds_->value(); }

void MapEditor::setFitSeconds(int seconds) { fitSeconds_->setValue(seconds); }

void MapEditor::setFitting(bool fitting) {
  fitSeconds_->setEnabled(!fitting);  // a fit keeps the limit it started with
  fit_->setVisible(!fitting);
  stop_->setVisible(fitting);
}

void MapEditor::measureCollage() {
  if (collage_ == nullptr || !collage_->hasTarget()) return;
  std::vector<PlaneMap> maps;
  for (const WeightedMap& m : model_.previewMaps()) maps.push_back(m.map);
  collage_->measure(maps);
}

void MapEditor::showCollage() {
  const bool target = collage_ != nullptr && collage_->hasTarget();
  if (target && !collage_->collage()) measureCollage();
  collageRow_->setVisible(target);
  if (target) strip_->setText(collage_->stripText());
}

QString MapEditor::hint(int mapCount) {
  return tr("%1 maps. Click a map or a corner; drag to shape it (Ctrl snaps). 1 to 0 select, Tab "
            "picks a corner, the arrows move it. The wheel zooms, dragging empty space pans; F "
            "fits the attractor, A frames all, Home shows the unit square. Insert and Delete add "
            "and remove maps; Ctrl+Z undoes. F1 lists every key.")
      .arg(mapCount);
}

void MapEditor::showStatus() {
  // What a key or a press had to say, else the selection; the model's notes below them; the
  // hint when there is nothing else.
  QStringList lines;
  if (!said_.isEmpty()) {
    lines << messageText(said_);  // the core's messages come in the source language
  } else if (model_.selected() >= 0) {
    lines << model_.selectionText();
  }
  const QString notes = model_.status();
  if (!notes.isEmpty()) lines << notes;
  status_->setText(lines.isEmpty() ? hint(model_.mapCount()) : lines.join(u'\n'));
}

}  // namespace quill
