#include "ui/form2.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>

#include "panel/panel.h"
#include "params/pattern_catalogue.h"

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

QFont panelFont(double points, bool bold) {
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

// The layout's face is narrower than most platforms' standard sans-serif. A button caption too
// wide for its box wraps onto two lines (its box is tall enough for two); whatever is still
// too wide gets a smaller font, so no caption is cut.
void fitCaption(QPushButton* button) {
  QString caption = button->text();
  if (button->sizeHint().width() > button->width() && caption.contains(u' ')) {
    caption[caption.lastIndexOf(u' ')] = u'\n';
    button->setText(caption);
  }
  QFont font = button->font();
  while (font.pointSizeF() > 6.0 && button->sizeHint().width() > button->width()) {
    font.setPointSizeF(font.pointSizeF() - 0.25);
    button->setFont(font);
  }
}

void fitCaption(QLabel* label) {
  QFont font = label->font();
  while (font.pointSizeF() > 6.0 && label->sizeHint().width() > label->width()) {
    font.setPointSizeF(font.pointSizeF() - 0.25);
    label->setFont(font);
  }
}

}  // namespace

Form2::Form2(PanelState& state, Panel& panel, QWidget* parent)
    : QMainWindow(parent), state_(state), panel_(panel) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("Select a Pattern"));
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
}

int Form2::px(int twips) const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const double dpi = screen != nullptr ? screen->logicalDotsPerInchX() : 96.0;
  return int(std::lround(twips * dpi / kTwipsPerInch));
}

void Form2::Form_Load() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QSize screenSize = screen != nullptr ? screen->size() : QSize(1024, 768);
  move(px(10), px(10));
  resize(screenSize.width() - px(200), screenSize.height() - px(200));
  panel_.Form_Load();
  refreshFromState();
}

QPushButton* Form2::addButton(const char* name, const QString& caption, int left, int top) {
  auto* button = new QPushButton(caption, client_);
  button->setObjectName(QString::fromLatin1(name));
  button->setFont(panelFont(9.75, true));
  button->setGeometry(px(left), px(top), px(kButtonWidth), px(kButtonHeight));
  fitCaption(button);
  return button;
}

QLabel* Form2::addLabel(const QString& caption, int left, int top, int width, int height) {
  auto* label = new QLabel(caption, client_);
  label->setFont(panelFont(9.75, true));
  label->setGeometry(px(left), px(top), px(width), px(height));
  fitCaption(label);
  return label;
}

QLineEdit* Form2::addField(const QString& name, int left, int top, int width, int height) {
  auto* field = new QLineEdit(client_);
  field->setObjectName(name);
  field->setFont(panelFont(8, false));
  field->setGeometry(px(left), px(top), px(width), px(height));
  return field;
}

template <typename Handler>
void Form2::run(Handler handler) {
  handler();
  refreshFromState();
}

void Form2::buildControls() {
  struct ButtonSpec {
    const char* name;
    const char* caption;
    int left;
    int top;
    void (Panel::*handler)();
  };
  // In tab order: Exit, Chaos Game, Blue Print, Compute Parameters, Print Picture, Fractal, Save
  // Parameters, Load Parameters.
  const std::array<ButtonSpec, 8> specs = {{
      {"Command3", "Exit", 7200, 1080, nullptr},
      {"cmdChaos", "Chaos Game", 2160, 240, &Panel::cmdChaos_Click},
      {"cmdBluePrint", "Blue Print", 3840, 240, &Panel::cmdBluePrint_Click},
      {"cmdCompute", "Compute Parameters", 3840, 1080, &Panel::cmdCompute_Click},
      {"cmdPrint", "Print Picture", 5520, 1080, &Panel::cmdPrint_Click},
      {"cmdFractal", "Fractal", 480, 240, &Panel::cmdFractal_Click},
      {"cmdSaveParam", "Save Parameters", 7200, 240, &Panel::cmdSaveParam_Click},
      {"cmdLoad", "Load Parameters", 5520, 240, &Panel::cmdLoad_Click},
  }};
  for (std::size_t i = 0; i < specs.size(); ++i) {
    const ButtonSpec& entry = specs[i];
    buttons_[i] = addButton(entry.name, QString::fromLatin1(entry.caption), entry.left, entry.top);
    if (entry.handler == nullptr) {
      // Command3_Click: the program ends at once, nothing asked, nothing saved.
      connect(buttons_[i], &QPushButton::clicked, this, &Form2::exitRequested);
    } else {
      const auto handler = entry.handler;
      connect(buttons_[i], &QPushButton::clicked, this,
              [this, handler] { run([this, handler] { (panel_.*handler)(); }); });
    }
  }

  QLabel* label1 = addLabel(QStringLiteral("Number of Iteration:"), 600, 1320, 2055, 255);
  label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  text1_ = addField(QStringLiteral("Text1"), 2640, 1200, 855, 405);
  connect(text1_, &QLineEdit::textEdited, this, [this](const QString& text) { state_.Text1 = text; });

  struct ComputeSpec {
    const char* caption;
    int labelLeft;
    int labelWidth;
    int fieldLeft;
  };
  const std::array<ComputeSpec, kComputeFieldCount> compute = {{
      {"r:", 600, 135, 720},
      {"s:", 1920, 255, 2160},
      {"angle 1:", 3360, 855, 4200},
      {"angle 2:", 5400, 855, 6240},
      {"i:", 7560, 135, 7680},
  }};
  for (int k = 0; k < kComputeFieldCount; ++k) {
    QLabel* label = addLabel(QString::fromLatin1(compute[k].caption), compute[k].labelLeft, 2040,
                             compute[k].labelWidth, 255);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    text2_[k] = addField(QStringLiteral("Text2_%1").arg(k), compute[k].fieldLeft, 1920, 855, 405);
    connect(text2_[k], &QLineEdit::textEdited, this,
            [this, k](const QString& text) { state_.Text2[k] = text; });
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
      QLineEdit* field = addField(QStringLiteral("Text%1_%2").arg(column + 3).arg(row), left, top,
                                  kCellWidth, kCellHeight);
      grid_[column][row] = field;
      connect(field, &QLineEdit::textEdited, this,
              [this, row, column](const QString& text) { state_.cell(row, column) = text; });
    }
  }
  // Text7(0): a box of the e column outside the visible area; it holds no map.
  text7Zero_ = addField(QStringLiteral("Text7_0"), -840, 1440, 255, 375);
  text7Zero_->setFocusPolicy(Qt::NoFocus);
  connect(text7Zero_, &QLineEdit::textEdited, this,
          [this](const QString& text) { state_.cell(0, kColE) = text; });
}

void Form2::buildMenus() {
  QMenu* select = menuBar()->addMenu(QStringLiteral("Select a Pattern"));
  select->setObjectName(QStringLiteral("mnuSelect"));
  QMenu* reset = menuBar()->addMenu(QStringLiteral("Reset a Pattern"));
  reset->setObjectName(QStringLiteral("mnuReset"));
  for (int index = 0; index < kPatternCount; ++index) {
    const QString caption = kPatterns[index].menuCaption;
    QAction* pick = select->addAction(caption);
    pick->setObjectName(QStringLiteral("mnuPattern_%1").arg(index));
    connect(pick, &QAction::triggered, this,
            [this, index] { run([this, index] { panel_.mnuPattern_Click(index); }); });
    QAction* again = reset->addAction(caption);
    again->setObjectName(QStringLiteral("mnuResetPattern_%1").arg(index));
    connect(again, &QAction::triggered, this,
            [this, index] { run([this, index] { panel_.mnuResetPattern_Click(index); }); });
  }
  QMenu* color = menuBar()->addMenu(QStringLiteral("Choose color"));
  color->setObjectName(QStringLiteral("mnuColor"));
  QAction* fore = color->addAction(QStringLiteral("ForeColor"));
  fore->setObjectName(QStringLiteral("mnuForeColor"));
  connect(fore, &QAction::triggered, this, [this] { run([this] { panel_.mnuForeColor_Click(); }); });
  QAction* back = color->addAction(QStringLiteral("BackColor"));
  back->setObjectName(QStringLiteral("mnuBackColor"));
  connect(back, &QAction::triggered, this, [this] { run([this] { panel_.mnuBackColor_Click(); }); });
}

void Form2::setTabOrder() {
  // Text1, then r, s, angle 1, angle 2, i, then the grid across each row and down, then the
  // buttons in their own order.
  std::vector<QWidget*> order;
  order.push_back(text1_);
  for (QLineEdit* field : text2_) order.push_back(field);
  for (int row = 1; row <= kGridRows; ++row) {
    for (int column = 0; column < kColumnCount; ++column) order.push_back(grid_[column][row]);
  }
  for (QPushButton* button : buttons_) order.push_back(button);
  for (std::size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

void Form2::setBusy(bool busy) {
  client_->setEnabled(!busy);
  menuBar()->setEnabled(!busy);
}

void Form2::refreshFromState() {
  auto show = [](QLineEdit* field, const QString& text) {
    if (field->text() != text) field->setText(text);
  };
  show(text1_, state_.Text1);
  for (int k = 0; k < kComputeFieldCount; ++k) show(text2_[k], state_.Text2[k]);
  for (int column = 0; column < kColumnCount; ++column) {
    for (int row = 1; row <= kGridRows; ++row) show(grid_[column][row], state_.cell(row, column));
  }
  show(text7Zero_, state_.cell(0, kColE));
  setWindowTitle(state_.caption);
}

}  // namespace quill
