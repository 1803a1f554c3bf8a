#pragma once

#include <QWidget>
#include <optional>

#include "core/maths/maths_report.h"

namespace quill {

// The box-counting estimate as a small log–log chart: the count of occupied boxes against
// 1 / box size, both axes in log2, a dot per counted size (hollow where left out of the fit),
// the fitted line over the fitted sizes and its slope.
class BoxCountChart : public QWidget {
  Q_OBJECT

 public:
  explicit BoxCountChart(QWidget* parent = nullptr);

  // Nothing: an empty chart with a word why.
  void setCounting(const std::optional<BoxCounting>& counting, const QString& empty = {});

  QSize sizeHint() const override { return {260, 190}; }
  QSize minimumSizeHint() const override { return {160, 120}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::optional<BoxCounting> counting_;
  QString empty_;
};

}  // namespace quill
