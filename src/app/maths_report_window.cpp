#include "app/maths_report_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <cmath>

#include "app/box_count_chart.h"
#include "app/box_count_thread.h"
#include "core/base/message_text.h"
#include "core/editor/det_weights.h"
#include "core/maths/det_shares.h"
#include "core/maths/report_wording.h"

namespace quill {

namespace {

const std::array<const char*, 8> kHeadings = {
    QT_TRANSLATE_NOOP("quill::MathsReportWindow", "det"),
    QT_TRANSLATE_NOOP("quill::MathsReportWindow", "σ1 ≥ σ2"),
    QT_TRANSLATE_NOOP("quill::MathsReportWindow", "similarity"),
    QT_TRANSLATE_NOOP("quill::MathsReportWindow", "flips"),
    QT_TRANSLATE_NOOP("quill::MathsReportWindow", "fixed point"),
    QT_TRANSLATE_NOOP("quill::MathsReportWindow", "p"),
    QT_TRANSLATE_NOOP("quill::MathsReportWindow", "|det| share"),
    QT_TRANSLATE_NOOP("quill::MathsReportWindow", "contracts")};
enum ReportColumn { kDet, kSigma, kSimilarity, kFlips, kFixed, kP, kShare, kContracts };

const QColor kExpandingText(150, 20, 20);
const QColor kExpandingBack(255, 222, 214);

QString number(double value) { return reportNumber(value); }

// "10 000 000": thin spaces between groups of three, whatever the locale.
QString pointsText(std::int64_t count) {
  QString digits = QString::number(count);
  for (int at = digits.size() - 3; at > 0; at -= 3) digits.insert(at, QChar(0x2009));
  return digits;
}

}  // namespace

MathsReportWindow::MathsReportWindow(MapEditorModel& model, QWidget* parent)
    : QWidget(parent, Qt::Dialog), model_(model), counter_(std::make_unique<BoxCountThread>()) {
  setObjectName(QStringLiteral("mathsReport"));
  setWindowTitle(tr("Maths Report"));
  connect(counter_.get(), &BoxCountThread::counted, this, &MathsReportWindow::counted);
  refreshTimer_ = new QTimer(this);
  refreshTimer_->setSingleShot(true);
  refreshTimer_->setInterval(kFrameMilliseconds);
  fitTimer_ = new QTimer(this);
  fitTimer_->setSingleShot(true);
  fitTimer_->setInterval(kFitMilliseconds);
  connect(fitTimer_, &QTimer::timeout, this, &MathsReportWindow::fitTable);
  connect(refreshTimer_, &QTimer::timeout, this, [this] {
    if (isVisible()) refresh();
  });

  table_ = new QTableWidget(0, int(kHeadings.size()), this);
  table_->setObjectName(QStringLiteral("mapFacts"));
  QStringList headings;
  for (const char* heading : kHeadings) headings << tr(heading);
  table_->setHorizontalHeaderLabels(headings);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionMode(QAbstractItemView::NoSelection);
  table_->setFocusPolicy(Qt::NoFocus);
  QFont small = table_->font();  // a notch smaller: nine columns beside the map editor
  small.setPointSizeF(small.pointSizeF() * 0.9);
  table_->setFont(small);
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  table_->horizontalHeader()->setStretchLastSection(true);

  system_ = new QLabel(this);
  system_->setObjectName(QStringLiteral("systemFacts"));
  system_->setWordWrap(true);
  system_->setTextFormat(Qt::RichText);
  system_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  system_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  boxStatus_ = new QLabel(this);
  boxStatus_->setObjectName(QStringLiteral("boxStatus"));
  boxStatus_->setWordWrap(true);
  boxStatus_->setTextFormat(Qt::RichText);
  chart_ = new BoxCountChart(this);
  setP_ = new QPushButton(tr("Set p ∝ |det|"), this);
  setP_->setObjectName(QStringLiteral("setPByDet"));
  setP_->setToolTip(tr("Writes p = max(|det|, %1) / Σ into the grid's p column (one undo step)")
                        .arg(kSmallestDetWeight));
  connect(setP_, &QPushButton::clicked, this, &MathsReportWindow::setPByDet);
  setPNote_ = new QLabel(this);
  setPNote_->setObjectName(QStringLiteral("setPNote"));

  auto* left = new QVBoxLayout;
  left->addWidget(system_);
  left->addWidget(boxStatus_);
  left->addStretch();
  auto* setPRow = new QHBoxLayout;
  setPRow->addWidget(setP_);
  setPRow->addWidget(setPNote_, 1);
  left->addLayout(setPRow);
  auto* lower = new QHBoxLayout;
  lower->addLayout(left, 3);
  lower->addWidget(chart_, 2);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(table_);
  layout->addLayout(lower, 1);
  resize(640, 560);
  refresh();
}

// The worker stops at its next batch and is joined by BoxCountThread's own destructor.
MathsReportWindow::~MathsReportWindow() = default;

void MathsReportWindow::gridChanged() {
  setPNote_->clear();  // it spoke of the p column as it was
  // Not restarted by the changes that follow: a held key still sees the report move each frame.
  if (isVisible() && !refreshTimer_->isActive()) refreshTimer_->start();
}

bool MathsReportWindow::refreshPending() const { return refreshTimer_->isActive(); }

void MathsReportWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  refresh();
}

void MathsReportWindow::hideEvent(QHideEvent* event) {
  // Nobody reads the estimate while the window is closed: the count stops at its next batch.
  counter_->stop();
  QWidget::hideEvent(event);
}

void MathsReportWindow::refresh() {
  refreshTimer_->stop();
  ++refreshes_;
  std::vector<WeightedMap> maps;
  rowOfFact_.clear();
  allRowsRead_ = true;
  for (int index = 0; index < model_.mapCount(); ++index) {
    if (!model_.rowReads(index) || !model_.shape(index)) {
      allRowsRead_ = false;
      continue;
    }
    maps.push_back({*model_.shape(index), model_.probability(index)});
    rowOfFact_.push_back(index);
  }
  facts_ = analyseSystem(maps);

  boxes_.reset();
  boxesFinal_ = false;
  // The points settle on an attractor wherever it has a box: when every map contracts, and
  // also for maps that contract only once y is rescaled (a quarter turn).
  const bool countable = facts_.boundingBox.has_value();
  if (maps.empty()) {
    boxNote_ = tr("no maps to count.");
  } else if (!countable) {
    boxNote_ = tr("not counted, the system does not contract.");
  } else {
    boxNote_ =
        tr("counting %1 points for a first estimate…").arg(pointsText(BoxCountThread::kFirstSteps));
  }
  if (isVisible() && countable) {
    counter_->count(std::move(maps));
  } else {
    counter_->stop();
  }
  setP_->setEnabled(model_.mapCount() > 0 && allRowsRead_);
  const int rowsBefore = table_->rowCount();
  showMaps();
  // A new row is fitted at once; longer texts within a few frames, so that a held key or a drag
  // does not measure the table at every step.
  if (table_->rowCount() != rowsBefore || !isVisible()) {
    fitTable();
  } else if (!fitTimer_->isActive()) {
    fitTimer_->start();
  }
  showSystem();
  showBoxes();
}

void MathsReportWindow::showMaps() {
  // The cells stay; only their texts and colours follow the maps. New rows get their cells once.
  const int rows = model_.mapCount();
  const int columns = table_->columnCount();
  const int rowsBefore = table_->rowCount();
  if (rows != rowsBefore) {
    table_->setRowCount(rows);
    for (int row = rowsBefore; row < rows; ++row) {
      table_->setVerticalHeaderItem(row, new QTableWidgetItem(QString::number(row + 1)));
      for (int column = 0; column < columns; ++column) {
        table_->setItem(row, column, new QTableWidgetItem);
      }
    }
  }
  std::size_t next = 0;  // the next of facts_.maps
  for (int row = 0; row < rows; ++row) {
    const bool reads = next < facts_.maps.size() && rowOfFact_[next] == row;
    const bool spanned = table_->columnSpan(row, 0) > 1;
    if (reads) {
      if (spanned) table_->setSpan(row, 0, 1, 1);
      showRow(row, facts_.maps[next++]);
      continue;
    }
    // Quietly: the panel's typing is under way, and the map editor names the fault.
    if (!spanned) table_->setSpan(row, 0, 1, columns);
    for (int column = 0; column < columns; ++column) {
      QTableWidgetItem* item = table_->item(row, column);
      item->setText(column == 0 ? tr("does not read as numbers; left out") : QString());
      item->setData(Qt::ForegroundRole, column == 0
                                            ? QVariant(palette().brush(QPalette::PlaceholderText))
                                            : QVariant());
      item->setData(Qt::BackgroundRole, QVariant());
    }
  }
}

void MathsReportWindow::showRow(int row, const MapFacts& map) {
  QString texts[kContracts + 1];
  texts[kDet] = number(map.det);
  texts[kSigma] =
      QStringLiteral("%1, %2").arg(number(map.singularValues[0]), number(map.singularValues[1]));
  if (map.similarity && map.ratio) {
    texts[kSimilarity] = tr("ratio %1").arg(number(*map.ratio));
    if (map.rotationDegrees) {
      texts[kSimilarity] += QStringLiteral(", %1°").arg(number(*map.rotationDegrees));
    }
  } else {
    texts[kSimilarity] = tr("no");
  }
  texts[kFlips] = map.flips ? tr("yes") : tr("no");
  texts[kFixed] = fixedPointWording(map);
  texts[kP] = number(map.row.p);
  texts[kShare] = number(map.detShare);
  texts[kContracts] = contractionWording(map);
  for (int column = 0; column <= kContracts; ++column) {
    // An item that is given what it holds already tells nobody, so unchanged cells cost nothing.
    QTableWidgetItem* item = table_->item(row, column);
    item->setText(texts[column]);
    item->setData(Qt::ForegroundRole,
                  map.expanding ? QVariant(QBrush(kExpandingText)) : QVariant());
    item->setData(Qt::BackgroundRole,
                  map.expanding ? QVariant(QBrush(kExpandingBack)) : QVariant());
  }
}

void MathsReportWindow::fitTable() {
  // Every column and every row (ten at most) in view without scrolling, the window grown for
  // them as far as the screen allows; the table scrolls only on a screen too small for it. The
  // sections take their sizes now, not on the headers' next turn, so they can be measured.
  table_->resizeRowsToContents();
  const QRect screen = this->screen()->availableGeometry();
  const QHeaderView* down = table_->verticalHeader();
  const int frame = 2 * table_->frameWidth();
  // Measured with the last column as wide as its texts, then stretched over the rest again.
  QHeaderView* across = table_->horizontalHeader();
  across->setStretchLastSection(false);
  table_->resizeColumnsToContents();
  const int columns = across->length();
  across->setStretchLastSection(true);
  const int wide = std::max(down->width(), down->sizeHint().width()) + frame + columns;
  const int chrome = frameGeometry().width() - table_->width();  // frame and margins beside it
  table_->setMinimumWidth(std::min(wide, screen.width() - chrome));

  const int top = std::max(across->height(), across->sizeHint().height()) + frame;
  const int tall = top + down->length();
  const int row = table_->rowCount() > 0 ? table_->rowHeight(0) : down->defaultSectionSize();
  const int fewest = top + kFewestRowsShown * row;
  const int others = frameGeometry().height() - table_->height();
  table_->setMaximumHeight(std::max(tall, fewest));
  table_->setMinimumHeight(std::clamp(screen.height() - others, fewest, std::max(tall, fewest)));
  if (!isVisible()) return;
  layout()->activate();  // the window grows now, so that it can be kept on the screen
  QRect placed = frameGeometry();
  if (placed.right() > screen.right()) placed.moveRight(screen.right());
  if (placed.bottom() > screen.bottom()) placed.moveBottom(screen.bottom());
  placed.moveTopLeft(
      QPoint(std::max(placed.left(), screen.left()), std::max(placed.top(), screen.top())));
  if (placed.topLeft() != frameGeometry().topLeft()) move(placed.topLeft());
}

void MathsReportWindow::showSystem() {
  QStringList lines;
  if (facts_.maps.empty()) {
    lines << tr("No maps that read.");
  } else if (facts_.contracting) {
    lines << tr("Contracting: yes, every map has σ1 &lt; 1.");
  } else {
    QStringList expanding;
    for (std::size_t k = 0; k < facts_.maps.size(); ++k) {
      if (facts_.maps[k].expanding) expanding << QString::number(rowOfFact_[k] + 1);
    }
    lines << tr("<span style=\"color:#961414\"><b>Contracting: no</b>, map %1 %2 σ1 ≥ 1."
                "</span>")
                 .arg(expanding.join(QStringLiteral(", ")),
                      expanding.size() == 1 ? tr("has") : tr("have"));
  }
  if (facts_.boundingBox) {
    const Box& box = *facts_.boundingBox;
    // The box is found to 1e-9 of its size; a side nearer 0 than that reads as 0, not -3e-13.
    const double size = std::max({box.xmax - box.xmin, box.ymax - box.ymin, 1e-300});
    auto side = [size](double value) { return number(std::abs(value) < 1e-9 * size ? 0 : value); };
    lines << tr("Bounding box: x %1 to %2, y %3 to %4")
                 .arg(side(box.xmin), side(box.xmax), side(box.ymin), side(box.ymax));
  } else if (!facts_.maps.empty()) {
    lines << tr("Bounding box: none, the system does not contract.");
  }
  if (facts_.similarityDimension) {
    lines << tr("Similarity dimension: <b>%1</b> (the fractal's dimension when the maps' "
                "images do not overlap much)")
                 .arg(number(*facts_.similarityDimension));
  } else if (!facts_.maps.empty()) {
    lines << tr("Similarity dimension: none, %1.")
                 .arg(facts_.contracting ? tr("not all maps are similarities")
                                         : tr("it does not contract"));
  }
  system_->setText(lines.join(QStringLiteral("<br>")));
}

void MathsReportWindow::showBoxes() {
  if (!boxes_) {
    boxStatus_->setText(tr("Box counting: %1").arg(boxNote_));
    chart_->setCounting(std::nullopt, boxNote_);
    return;
  }
  const QString estimate = number(boxes_->slope);
  boxStatus_->setText(boxesFinal_ ? tr("Box-counting dimension: <b>%1</b> (%2 points)")
                                        .arg(estimate, pointsText(boxes_->steps))
                                  : tr("Box-counting dimension: %1 (first estimate, %2 points; "
                                       "refining with %3…)")
                                        .arg(estimate, pointsText(boxes_->steps),
                                             pointsText(BoxCountThread::kFinalSteps)));
  chart_->setCounting(boxes_);
}

void MathsReportWindow::counted(const std::optional<BoxCounting>& counting, bool final) {
  boxes_ = counting;
  boxesFinal_ = final;
  if (!counting) boxNote_ = tr("the points could not be counted.");
  showBoxes();
}

void MathsReportWindow::setPByDet() {
  if (refreshPending()) refresh();  // the dets of the grid as it is now, not as last shown
  if (!allRowsRead_ || facts_.maps.size() != std::size_t(model_.mapCount())) return;
  std::vector<double> dets;
  std::vector<double> ps;
  for (const MapFacts& map : facts_.maps) {
    dets.push_back(map.det);
    ps.push_back(map.row.p);
  }
  const QStringList texts = detProportionalTexts(dets);
  // No undo step that changes nothing: the user is told why the grid stays as it is.
  if (sameProbabilities(ps, texts)) {
    setPNote_->setText(messageText(kAlreadyDetProportionalMessage));
    return;
  }
  setPNote_->clear();
  if (!model_.setProbabilityTexts(texts, setP_->text())) return;
  emit gridEdited();
  refresh();  // at once: the user pressed a button here
}

}  // namespace quill
