#include "app/maths_report_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "app/box_count_chart.h"
#include "app/box_count_thread.h"
#include "core/editor/det_weights.h"
#include "core/maths/det_shares.h"

namespace quill {

namespace {

const QStringList kHeadings = {QStringLiteral("det"),         QStringLiteral("σ1 ≥ σ2"),
                               QStringLiteral("similarity"),  QStringLiteral("flips"),
                               QStringLiteral("fixed point"), QStringLiteral("p"),
                               QStringLiteral("|det| share"), QStringLiteral("contracts")};
enum ReportColumn { kDet, kSigma, kSimilarity, kFlips, kFixed, kP, kShare, kContracts };

const QColor kExpandingText(150, 20, 20);
const QColor kExpandingBack(255, 222, 214);

// Four significant digits are plenty to read a map by; -0 reads as 0.
QString number(double value) { return QString::number(value + 0.0, 'g', 4); }

QString pointText(double x, double y) {
  return QStringLiteral("(%1, %2)").arg(number(x), number(y));
}

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
  setWindowTitle(QStringLiteral("Maths Report"));
  connect(counter_.get(), &BoxCountThread::counted, this, &MathsReportWindow::counted);
  refreshTimer_ = new QTimer(this);
  refreshTimer_->setSingleShot(true);
  refreshTimer_->setInterval(kFrameMilliseconds);
  connect(refreshTimer_, &QTimer::timeout, this, [this] {
    if (isVisible()) refresh();
  });

  table_ = new QTableWidget(0, int(kHeadings.size()), this);
  table_->setObjectName(QStringLiteral("mapFacts"));
  table_->setHorizontalHeaderLabels(kHeadings);
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
  setP_ = new QPushButton(QStringLiteral("Set p ∝ |det|"), this);
  setP_->setObjectName(QStringLiteral("setPByDet"));
  setP_->setToolTip(
      QStringLiteral("Writes p = max(|det|, %1) / Σ into the grid's p column (one undo step)")
          .arg(kSmallestDetWeight));
  connect(setP_, &QPushButton::clicked, this, &MathsReportWindow::setPByDet);

  auto* left = new QVBoxLayout;
  left->addWidget(system_);
  left->addWidget(boxStatus_);
  left->addStretch();
  left->addWidget(setP_, 0, Qt::AlignLeft);
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
    boxNote_ = QStringLiteral("no maps to count.");
  } else if (!countable) {
    boxNote_ = QStringLiteral("not counted, the system does not contract.");
  } else {
    boxNote_ = QStringLiteral("counting %1 points for a first estimate…")
                   .arg(pointsText(BoxCountThread::kFirstSteps));
  }
  if (isVisible() && countable) {
    counter_->count(std::move(maps));
  } else {
    counter_->stop();
  }
  setP_->setEnabled(model_.mapCount() > 0 && allRowsRead_);
  const int rowsBefore = table_->rowCount();
  showMaps();
  if (table_->rowCount() != rowsBefore) fitTableHeight();
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
      item->setText(column == 0 ? QStringLiteral("does not read as numbers; left out") : QString());
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
    texts[kSimilarity] = QStringLiteral("ratio %1").arg(number(*map.ratio));
    if (map.rotationDegrees) {
      texts[kSimilarity] += QStringLiteral(", %1°").arg(number(*map.rotationDegrees));
    }
  } else {
    texts[kSimilarity] = QStringLiteral("no");
  }
  texts[kFlips] = map.flips ? QStringLiteral("yes") : QStringLiteral("no");
  texts[kFixed] = map.fixedPoint ? pointText((*map.fixedPoint)[0], (*map.fixedPoint)[1])
                                 : QStringLiteral("none");
  texts[kP] = number(map.row.p);
  texts[kShare] = number(map.detShare);
  texts[kContracts] = map.expanding ? QStringLiteral("EXPANDS") : QStringLiteral("yes");
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

void MathsReportWindow::fitTableHeight() {
  // As tall as its rows, so the system's facts and the chart get the rest of the window; a
  // long table scrolls below three rows' height.
  const int header = table_->horizontalHeader()->sizeHint().height();
  const int frame = 2 * table_->frameWidth();
  const int scroll = table_->horizontalScrollBar()->sizeHint().height();
  int rows = 0;
  for (int row = 0; row < table_->rowCount(); ++row) rows += table_->rowHeight(row);
  const int fewest = header + frame + scroll + 3 * table_->verticalHeader()->defaultSectionSize();
  table_->setMaximumHeight(header + frame + scroll + rows);
  table_->setMinimumHeight(std::min(fewest, table_->maximumHeight()));
}

void MathsReportWindow::showSystem() {
  QStringList lines;
  if (facts_.maps.empty()) {
    lines << QStringLiteral("No maps that read.");
  } else if (facts_.contracting) {
    lines << QStringLiteral("Contracting: yes, every map has σ1 &lt; 1.");
  } else {
    QStringList expanding;
    for (std::size_t k = 0; k < facts_.maps.size(); ++k) {
      if (facts_.maps[k].expanding) expanding << QString::number(rowOfFact_[k] + 1);
    }
    lines << QStringLiteral(
                 "<span style=\"color:#961414\"><b>Contracting: no</b>, map %1 %2 σ1 ≥ 1."
                 "</span>")
                 .arg(expanding.join(QStringLiteral(", ")),
                      expanding.size() == 1 ? QStringLiteral("has") : QStringLiteral("have"));
  }
  if (facts_.boundingBox) {
    const Box& box = *facts_.boundingBox;
    // The box is found to 1e-9 of its size; a side nearer 0 than that reads as 0, not -3e-13.
    const double size = std::max({box.xmax - box.xmin, box.ymax - box.ymin, 1e-300});
    auto side = [size](double value) { return number(std::abs(value) < 1e-9 * size ? 0 : value); };
    lines << QStringLiteral("Bounding box: x %1 to %2, y %3 to %4")
                 .arg(side(box.xmin), side(box.xmax), side(box.ymin), side(box.ymax));
  } else if (!facts_.maps.empty()) {
    lines << QStringLiteral("Bounding box: none, the system does not contract.");
  }
  if (facts_.similarityDimension) {
    lines << QStringLiteral(
                 "Similarity dimension: <b>%1</b> (the fractal's dimension when the maps' "
                 "images do not overlap much)")
                 .arg(number(*facts_.similarityDimension));
  } else if (!facts_.maps.empty()) {
    lines << QStringLiteral("Similarity dimension: none, %1.")
                 .arg(facts_.contracting ? QStringLiteral("not all maps are similarities")
                                         : QStringLiteral("it does not contract"));
  }
  system_->setText(lines.join(QStringLiteral("<br>")));
}

void MathsReportWindow::showBoxes() {
  if (!boxes_) {
    boxStatus_->setText(QStringLiteral("Box counting: ") + boxNote_);
    chart_->setCounting(std::nullopt, boxNote_);
    return;
  }
  const QString estimate = number(boxes_->slope);
  boxStatus_->setText(
      boxesFinal_
          ? QStringLiteral("Box-counting dimension: <b>%1</b> (%2 points)")
                .arg(estimate, pointsText(boxes_->steps))
          : QStringLiteral("Box-counting dimension: %1 (first estimate, %2 points; "
                           "refining with %3…)")
                .arg(estimate, pointsText(boxes_->steps), pointsText(BoxCountThread::kFinalSteps)));
  chart_->setCounting(boxes_);
}

void MathsReportWindow::counted(const std::optional<BoxCounting>& counting, bool final) {
  boxes_ = counting;
  boxesFinal_ = final;
  if (!counting) boxNote_ = QStringLiteral("the points could not be counted.");
  showBoxes();
}

void MathsReportWindow::setPByDet() {
  if (refreshPending()) refresh();  // the dets of the grid as it is now, not as last shown
  if (!allRowsRead_ || facts_.maps.size() != std::size_t(model_.mapCount())) return;
  std::vector<double> dets;
  for (const MapFacts& map : facts_.maps) dets.push_back(map.det);
  if (!model_.setProbabilityTexts(detProportionalTexts(dets), setP_->text())) return;
  emit gridEdited();
  refresh();  // at once: the user pressed a button here
}

}  // namespace quill
