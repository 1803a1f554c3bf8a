#pragma once

#include <QWidget>
#include <memory>
#include <optional>

#include "core/editor/map_editor_model.h"
#include "core/maths/maths_report.h"

class QLabel;
class QPushButton;
class QTableWidget;
class QTimer;

namespace quill {

class BoxCountChart;
class BoxCountThread;

// "Maths Report": a window of its own beside the panel that says what the grid's maps do, map by
// map and as a system, and follows every change of the grid. It is the panel's dialog window, so
// it stays in front of the panel (which fills most of the screen) while the user types in the
// grid. Changes that come faster than the screen shows them (a held key, a drag in the map
// editor) are shown together, at most once a frame, in the same table cells. The box-counting
// estimate refines on a worker thread, first quickly and then from ten million points; it stops
// when the grid changes or the window closes. "Set p ∝ |det|" writes the p column through the
// model, as one undo step.
class MathsReportWindow : public QWidget {
  Q_OBJECT

 public:
  explicit MathsReportWindow(MapEditorModel& model, QWidget* parent = nullptr);
  ~MathsReportWindow() override;

  // The grid changed (typing, a panel command, the map editor): the report follows within a
  // frame.
  void gridChanged();

  static constexpr int kFrameMilliseconds = 16;
  static constexpr int kFitMilliseconds = 100;
  // Rows the table shows at least, on a screen too small for all of them.
  static constexpr int kFewestRowsShown = 3;

  // Whether a change waits to be shown, and how many times the report was brought up to date:
  // for the tests and the benchmark.
  bool refreshPending() const;
  int refreshes() const { return refreshes_; }

  // What the report shows now, for the tests: the facts of the maps that read, and the
  // box-counting estimate when one has come.
  const SystemFacts& facts() const { return facts_; }
  const std::optional<BoxCounting>& boxes() const { return boxes_; }
  bool boxesFinal() const { return boxesFinal_; }

 signals:
  // The report changed the grid's texts (the p column).
  void gridEdited();

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void refresh();
  void showMaps();
  void showRow(int row, const MapFacts& map);
  void fitTable();
  void showSystem();
  void showBoxes();
  void setPByDet();
  void counted(const std::optional<BoxCounting>& counting, bool final);

  MapEditorModel& model_;
  SystemFacts facts_;
  std::vector<int> rowOfFact_;  // the grid row (0-based) of each of facts_.maps
  bool allRowsRead_ = false;
  std::optional<BoxCounting> boxes_;
  bool boxesFinal_ = false;
  QString boxNote_;                 // why there is no estimate, or what is being counted
  QTimer* refreshTimer_ = nullptr;  // single shot, started by the first change of a frame
  QTimer* fitTimer_ = nullptr;      // single shot: the table's size follows its texts
  int refreshes_ = 0;

  QTableWidget* table_ = nullptr;
  QLabel* system_ = nullptr;
  QLabel* boxStatus_ = nullptr;
  BoxCountChart* chart_ = nullptr;
  QPushButton* setP_ = nullptr;
  QLabel* setPNote_ = nullptr;  // says why "Set p ∝ |det|" wrote nothing
  std::unique_ptr<BoxCountThread> counter_;
};

}  // namespace quill
