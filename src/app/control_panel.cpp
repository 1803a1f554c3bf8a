#include "app/control_panel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <algorithm>

#include "app/animation_window.h"
#include "app/collage_overlay.h"
#include "app/map_editor.h"
#include "app/maths_report_window.h"
#include "app/picture_dialog.h"
#include "app/target_fit.h"
#include "core/commands/compute_parameters.h"
#include "core/commands/drawing_commands.h"
#include "core/commands/ifs_commands.h"
#include "core/commands/load_save.h"
#include "core/commands/pattern_menu.h"
#include "core/commands/print_and_colors.h"
#include "core/document/document.h"
#include "core/maps/pattern_catalogue.h"

namespace quill {

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr int kButtonWidth = 1335;
constexpr int kButtonHeight = 615;
constexpr int kCellWidth = 1215;
constexpr int kCellHeight = 375;
constexpr int kRowPitch = 360;
constexpr int kGridTop = 2760;

// Left edge of each grid column, a to p.
constexpr std::array<int, kColumnCount> kColumnLeft = {495, 1710, 2925, 4140, 5355, 6570, 7785};
const std::array<QString, kColumnCount> kColumnHeading = {"a", "b", "c", "d", "e", "f", "p"};

constexpr double kCaptionPoints = 9.75;
constexpr double kFieldPoints = 8;
constexpr double kSmallestPoints = 6;
constexpr double kPointStep = 0.25;

// The layout was drawn for a narrow sans-serif face. Liberation Sans has the widely used metrics
// of such a face; where it is not installed, the platform's own sans-serif serves.
QString panelFamily() {
  static const QString family = [] {
    const QString preferred = QStringLiteral("Liberation Sans");
    if (QFontDatabase::hasFamily(preferred)) return preferred;
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
  }();
  return family;
}

QFont panelFont(double points, bool bold) {
  QFont font(panelFamily());
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

bool captionFits(const QWidget* widget) { return widget->sizeHint().width() <= widget->width(); }

// A button caption too wide for its box wraps onto two lines (its box is tall enough for two).
void wrapCaption(QPushButton* button) {
  QString caption = button->text();
  if (!captionFits(button) && caption.contains(u' ')) {
    caption[caption.lastIndexOf(u' ')] = u'\n';
    button->setText(caption);
  }
}

// Captions of one kind share one size: the largest at which every one of them fits, so none is
// cut and none stands out smaller than its neighbours.
template <class Widget>
void shareFittingFont(const std::vector<Widget*>& widgets) {
  if (widgets.empty()) return;
  QFont font = widgets.front()->font();
  auto allFit = [&widgets] {
    return std::all_of(widgets.begin(), widgets.end(),
                       [](const Widget* w) { return captionFits(w); });
  };
  while (font.pointSizeF() > kSmallestPoints && !allFit()) {
    font.setPointSizeF(font.pointSizeF() - kPointStep);
    for (Widget* widget : widgets) widget->setFont(font);
  }
}

}  // namespace

ControlPanel::ControlPanel(Document& document, QWidget* parent)
    : QMainWindow(parent),
      document_(document),
      state_(document.state),
      editorModel_(document.state, document.undoStack),
      collage_(new CollageOverlay(this)),
      targetFit_(new TargetFit(document, this)) {
  setObjectName(QStringLiteral("controlPanel"));
  setWindowTitle(tr("Select a Pattern"));
  // An edit in the map editor or the maths report ends a fit under way first (see typed()).
  editorModel_.setBeforeEdit([this] { targetFit_->settle(); });
  client_ = new QWidget(this);
  client_->setAutoFillBackground(true);
  QPalette palette = client_->palette();
  palette.setColor(QPalette::Window, QApplication::palette().color(QPalette::ToolTipBase));
  client_->setPalette(palette);
  client_->setMinimumSize(px(9210), px(6510));
  setCentralWidget(client_);
  buildControls();
  buildMenus();
  setTabOrder();
  fitFonts();
  // F10 opens the first menu, as desktop users expect; the captions keep no mnemonics.
  auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
  connect(menuKey, &QShortcut::activated, this, &ControlPanel::openFirstMenu);
  acceptFileDrops();
}

int ControlPanel::px(int twips) const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const double dpi = screen != nullptr ? screen->logicalDotsPerInchX() : 96.0;
  return int(std::lround(twips * dpi / kTwipsPerInch));
}

void ControlPanel::resetPanel() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QSize screenSize = screen != nullptr ? screen->size() : QSize(1024, 768);
  move(px(10), px(10));
  frameFit_->setOuterSize(QSize(screenSize.width() - px(200), screenSize.height() - px(200)));
  refreshFromState();
  // A count can be typed at once: focus starts where the tab order does.
  countField_->setFocus();
}

QPushButton* ControlPanel::addButton(const char* name, const QString& caption, int left, int top) {
  auto* button = new QPushButton(caption, client_);
  button->setObjectName(QString::fromLatin1(name));
  button->setFont(panelFont(kCaptionPoints, true));
  button->setGeometry(px(left), px(top), px(kButtonWidth), px(kButtonHeight));
  // A click leaves focus where the user was typing; Tab still reaches every button, so Space and
  // Enter press one only where the user put focus on it.
  button->setFocusPolicy(Qt::TabFocus);
  wrapCaption(button);
  return button;
}

QLabel* ControlPanel::addLabel(const QString& caption, int left, int top, int width, int height) {
  auto* label = new QLabel(caption, client_);
  label->setFont(panelFont(kCaptionPoints, true));
  label->setGeometry(px(left), px(top), px(width), px(height));
  return label;
}

QLineEdit* ControlPanel::addField(const QString& name, int left, int top, int width, int height) {
  auto* field = new QLineEdit(client_);
  field->setObjectName(name);
  field->setFont(panelFont(kFieldPoints, false));
  field->installEventFilter(this);
  field->setGeometry(px(left), px(top), px(width), px(height));
  return field;
}

ControlPanel::~ControlPanel() = default;

QString ControlPanel::cellName(int row, int column) {
  return QStringLiteral("cell_%1_%2").arg(kColumnHeading[std::size_t(column)]).arg(row);
}

template <typename Handler>
void ControlPanel::run(const QString& step, Handler handler, bool replacesMaps) {
  targetFit_->settle();  // the command's step comes after the fit's
  const PanelSnapshot before = PanelSnapshot::of(state_);
  handler();
  refreshFromState();
  // A command that changed the panel (a pattern, Load, Compute Parameters) is one undo step.
  recordStep(document_.undoStack, state_, before, step);
  editorModel_.syncFromGrid();
  gridChanged();
  // New maps may lie anywhere: the editor frames them all.
  if (replacesMaps && mapEditor_ && state_.grid != before.grid) mapEditor_->mapsReplaced();
}

void ControlPanel::buildControls() {
  struct ButtonLayout {
    const char* name;
    const char* caption;
    int left;
    int top;
    void (*handler)(Document&);
  };
  // In tab order: Exit, Chaos Game, Blue Print, Compute Parameters, Print Picture, Fractal, Save
  // Parameters, Load Parameters.
  const std::array<ButtonLayout, 8> layout = {{
      {"exitButton", QT_TR_NOOP("Exit"), 7200, 1080, nullptr},
      {"chaosGameButton", QT_TR_NOOP("Chaos Game"), 2160, 240, &drawChaosGame},
      {"bluePrintButton", QT_TR_NOOP("Blue Print"), 3840, 240, &drawBluePrint},
      {"computeButton", QT_TR_NOOP("Compute Parameters"), 3840, 1080, &computeParameters},
      {"printButton", QT_TR_NOOP("Print Picture"), 5520, 1080, &printPicture},
      {"fractalButton", QT_TR_NOOP("Fractal"), 480, 240, &drawFractal},
      {"saveButton", QT_TR_NOOP("Save Parameters"), 7200, 240, &saveParameters},
      {"loadButton", QT_TR_NOOP("Load Parameters"), 5520, 240, &loadParameters},
  }};
  for (std::size_t i = 0; i < layout.size(); ++i) {
    const ButtonLayout& entry = layout[i];
    buttons_[i] = addButton(entry.name, tr(entry.caption), entry.left, entry.top);
    if (entry.handler == nullptr) {
      // "Exit": the program ends at once, nothing asked, nothing saved.
      connect(buttons_[i], &QPushButton::clicked, this, &ControlPanel::exitRequested);
    } else {
      const auto handler = entry.handler;
      const QString step = tr(entry.caption);
      const bool replacesMaps = handler == &loadParameters;
      connect(buttons_[i], &QPushButton::clicked, this, [this, handler, step, replacesMaps] {
        run(
            step, [this, handler] { handler(document_); }, replacesMaps);
      });
    }
  }

  QLabel* label1 = addLabel(tr("Number of Iteration:"), 600, 1320, 2055, 255);
  label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  fieldLabels_.push_back(label1);
  countField_ = addField(QStringLiteral("countField"), 2640, 1200, 855, 405);
  connect(countField_, &QLineEdit::textEdited, this,
          [this](const QString& text) { state_.countText = text; });

  struct ComputeFieldLayout {
    const char* caption;
    int labelLeft;
    int labelWidth;
    int fieldLeft;
  };
  const std::array<ComputeFieldLayout, kComputeFieldCount> compute = {{
      {QT_TR_NOOP("r:"), 600, 135, 720},
      {QT_TR_NOOP("s:"), 1920, 255, 2160},
      {QT_TR_NOOP("angle 1:"), 3360, 855, 4200},
      {QT_TR_NOOP("angle 2:"), 5400, 855, 6240},
      {QT_TR_NOOP("i:"), 7560, 135, 7680},
  }};
  for (int k = 0; k < kComputeFieldCount; ++k) {
    QLabel* label =
        addLabel(tr(compute[k].caption), compute[k].labelLeft, 2040, compute[k].labelWidth, 255);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    fieldLabels_.push_back(label);
    computeFields_[k] =
        addField(QStringLiteral("computeField_%1").arg(k), compute[k].fieldLeft, 1920, 855, 405);
    connect(computeFields_[k], &QLineEdit::textEdited, this,
            [this, k](const QString& text) { typed(state_.computeFields[k], text); });
  }

  // The grid: headings, row numbers and seven columns of ten fields.
  auto addGridLabel = [this](const QString& caption, int left, int top, int width) {
    QLabel* label = addLabel(caption, left, top, width, kCellHeight);
    label->setAlignment(Qt::AlignCenter);
    label->setFrameShape(QFrame::Box);
    label->setAutoFillBackground(true);
    label->setPalette(QApplication::palette());
    return label;
  };
  addGridLabel(QStringLiteral("i"), 240, 2400, 255);
  for (int column = 0; column < kColumnCount; ++column) {
    addGridLabel(kColumnHeading[column], kColumnLeft[column], 2400, kCellWidth);
  }
  for (int row = 1; row <= kGridRows; ++row) {
    const int top = kGridTop + kRowPitch * (row - 1);
    addGridLabel(QString::number(row), 240, top, 255);
    for (int column = 0; column < kColumnCount; ++column) {
      // Row 5 of the p column stands 15 twips further right than the rest of its column.
      const int left = (column == kColP && row == 5) ? 7800 : kColumnLeft[column];
      QLineEdit* field = addField(cellName(row, column), left, top, kCellWidth, kCellHeight);
      grid_[column][row] = field;
      connect(field, &QLineEdit::textEdited, this, [this, row, column](const QString& text) {
        typed(state_.cell(row, column), text);
        editorModel_.syncFromGrid();
        gridChanged();
      });
    }
  }
}

void ControlPanel::buildMenus() {
  QMenu* select = menuBar()->addMenu(tr("Select a Pattern"));
  select->setObjectName(QStringLiteral("patternMenu"));
  QMenu* reset = menuBar()->addMenu(tr("Reset a Pattern"));
  reset->setObjectName(QStringLiteral("resetMenu"));
  for (int index = 0; index < kPatternCount; ++index) {
    const QString caption = patternCaption(kPatterns[index].menuCaption);
    QAction* pick = select->addAction(caption);
    pick->setObjectName(QStringLiteral("patternAction_%1").arg(index));
    connect(pick, &QAction::triggered, this, [this, index, caption] {
      run(
          tr("Choose Pattern %1").arg(caption), [this, index] { choosePattern(document_, index); },
          true);
    });
    QAction* again = reset->addAction(caption);
    again->setObjectName(QStringLiteral("resetPatternAction_%1").arg(index));
    connect(again, &QAction::triggered, this, [this, index, caption] {
      run(
          tr("Reset Pattern %1").arg(caption), [this, index] { resetPattern(document_, index); },
          true);
    });
  }
  QMenu* color = menuBar()->addMenu(tr("Choose color"));
  color->setObjectName(QStringLiteral("colourMenu"));
  QAction* fore = color->addAction(tr("ForeColor"));
  fore->setObjectName(QStringLiteral("penColourAction"));
  connect(fore, &QAction::triggered, this,
          [this, fore] { run(fore->text(), [this] { choosePenColour(document_); }); });
  QAction* back = color->addAction(tr("BackColor"));
  back->setObjectName(QStringLiteral("paperColourAction"));
  connect(back, &QAction::triggered, this,
          [this, back] { run(back->text(), [this] { choosePaperColour(document_); }); });

  // Commands beyond the panel's own live in a fourth menu, in windows of their own.
  QMenu* tools = menuBar()->addMenu(tr("Tools"));
  tools->setObjectName(QStringLiteral("toolsMenu"));
  addStepActions(tools);
  tools->addSeparator();
  QAction* editor = tools->addAction(tr("Map Editor..."));
  editor->setObjectName(QStringLiteral("mapEditorAction"));
  editor->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
  connect(editor, &QAction::triggered, this, &ControlPanel::openMapEditor);
  tools->addSeparator();
  const std::array<std::pair<const char*, void (*)(Document&)>, 3> commands = {{
      {QT_TR_NOOP("Fit Maps to Square"), &fitMapsToSquare},
      {QT_TR_NOOP("Import .ifs..."), &importIfs},
      {QT_TR_NOOP("Export .ifs..."), &exportIfs},
  }};
  const std::array<const char*, 3> names = {"fitMapsAction", "importIfsAction", "exportIfsAction"};
  for (std::size_t i = 0; i < commands.size(); ++i) {
    const QString caption = tr(commands[i].first);
    QAction* action = tools->addAction(caption);
    action->setObjectName(QString::fromLatin1(names[i]));
    const auto handler = commands[i].second;
    // The step is named after the command, without the dots of a command that asks first.
    const QString step = QString(caption).remove(QStringLiteral("..."));
    // Fit and Import bring new maps (Export changes none).
    connect(action, &QAction::triggered, this, [this, handler, step] {
      run(
          step, [this, handler] { handler(document_); }, true);
    });
  }
  tools->addSeparator();
  addTargetActions(tools);
  tools->addSeparator();
  QAction* report = tools->addAction(tr("Maths Report"));
  report->setObjectName(QStringLiteral("mathsReportAction"));
  report->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
  connect(report, &QAction::triggered, this, &ControlPanel::openMathsReport);
  QAction* picture = tools->addAction(tr("Render Picture..."));
  picture->setObjectName(QStringLiteral("renderPictureAction"));
  picture->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
  connect(picture, &QAction::triggered, this, &ControlPanel::openPictureDialog);
  QAction* animation = tools->addAction(tr("Animation..."));
  animation->setObjectName(QStringLiteral("animationAction"));
  connect(animation, &QAction::triggered, this, &ControlPanel::openAnimationWindow);
  addRecentFilesMenu(tools);
}

void ControlPanel::setTabOrder() {
  // The count, then r, s, angle 1, angle 2, i, then the grid across each row and down, then the
  // buttons in their own order.
  std::vector<QWidget*> order;
  order.push_back(countField_);
  for (QLineEdit* field : computeFields_) order.push_back(field);
  for (int row = 1; row <= kGridRows; ++row) {
    for (int column = 0; column < kColumnCount; ++column) order.push_back(grid_[column][row]);
  }
  for (QPushButton* button : buttons_) order.push_back(button);
  for (std::size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

void ControlPanel::fitFonts() {
  shareFittingFont(std::vector<QPushButton*>(buttons_.begin(), buttons_.end()));
  shareFittingFont(fieldLabels_);
}

void ControlPanel::setBusy(bool busy) {
  // Disabling the focused control moves focus along the tab order (on to "Exit", say); it goes
  // back where it was once the command ends.
  if (busy) {
    QWidget* focused = QApplication::focusWidget();
    focusBeforeBusy_ = (focused != nullptr && isAncestorOf(focused)) ? focused : focusWidget();
  }
  client_->setEnabled(!busy);
  menuBar()->setEnabled(!busy);
  if (!busy && focusBeforeBusy_) focusBeforeBusy_->setFocus();
}

void ControlPanel::openFirstMenu() {
  const QList<QAction*> menus = menuBar()->actions();
  if (!menus.isEmpty() && menuBar()->isEnabled()) menuBar()->setActiveAction(menus.first());
}

bool ControlPanel::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut) typingIn_ = nullptr;  // the spell of typing ends
  if (event->type() == QEvent::ShortcutOverride && claimedByPanel(watched, event)) {
    event->ignore();
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

void ControlPanel::closeEvent(QCloseEvent* event) {
  // The close box ends the program as "Exit" does; a canvas left open would have no controls.
  event->accept();
  emit exitRequested();
}

void ControlPanel::refreshFromState() {
  typingIn_ = nullptr;  // the fields show the state now: typing after this is a step of its own
  auto show = [](QLineEdit* field, const QString& text) {
    if (field->text() == text) return;
    field->setText(text);
    if (!field->hasFocus()) field->setCursorPosition(0);  // a long number shows its first digits
  };
  show(countField_, state_.countText);
  for (int k = 0; k < kComputeFieldCount; ++k) show(computeFields_[k], state_.computeFields[k]);
  for (int column = 0; column < kColumnCount; ++column) {
    for (int row = 1; row <= kGridRows; ++row) show(grid_[column][row], state_.cell(row, column));
  }
  setWindowTitle(patternCaption(state_.caption));
}

}  // namespace quill
