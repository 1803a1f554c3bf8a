#pragma once

#include <QStringList>
#include <deque>
#include <memory>
#include <optional>

#include "core/canvas/canvas.h"
#include "core/commands/compute_parameters.h"
#include "core/commands/drawing_commands.h"
#include "core/commands/ifs_commands.h"
#include "core/commands/load_save.h"
#include "core/commands/pattern_menu.h"
#include "core/commands/print_and_colors.h"
#include "core/document/canvas_window.h"
#include "core/document/dialogs.h"
#include "core/document/document.h"
#include "core/maps/drawing_state.h"
#include "core/maps/panel_state.h"
#include "core/maps/read_grid.h"
#include "support/qt_printers.h"

namespace quill::testing {

// Dialogs with scripted answers; records every message shown.
class ScriptedDialogs : public Dialogs {
 public:
  void message(const QString& text) override { messages.append(text); }
  QString openFileName() override {
    const QString answer = take(openAnswers);
    if (whenOpenAnswers) whenOpenAnswers(answer);
    return answer;
  }
  QString saveFileName() override { return take(saveAnswers); }
  QString savePictureFileName() override { return take(pictureAnswers); }
  QString openIfsFileName() override { return take(openIfsAnswers); }
  QString saveIfsFileName() override { return take(saveIfsAnswers); }
  CollectionChoice askAddOrReplace(const QString& question) override {
    questions.append(question);
    if (collectionAnswers.empty()) return CollectionChoice::Cancel;
    const CollectionChoice answer = collectionAnswers.front();
    collectionAnswers.pop_front();
    return answer;
  }
  std::optional<int> chooseEntry(const std::vector<EntryChoice>& entries, bool& fit) override {
    shownEntries = entries;
    if (entryAnswers.empty()) return std::nullopt;
    const auto [answer, fitAnswer] = entryAnswers.front();
    entryAnswers.pop_front();
    fit = fitAnswer;
    return answer;
  }
  bool confirmReplace(const QString& path) override {
    replaceQuestions.append(path);
    if (replaceAnswers.empty()) return false;
    const bool answer = replaceAnswers.front();
    replaceAnswers.pop_front();
    return answer;
  }
  std::optional<TargetChoice> openTargetImage() override {
    if (targetAnswers.empty()) return std::nullopt;
    const std::optional<TargetChoice> answer = targetAnswers.front();
    targetAnswers.pop_front();
    return answer;
  }
  std::optional<int> askFitMapCount() override {
    ++mapCountQuestions;
    return mapCountAnswer;
  }
  std::optional<Rgb> chooseColor(Rgb initial) override {
    colorInitials.push_back(initial);
    if (colorAnswers.empty()) return std::nullopt;
    auto answer = colorAnswers.front();
    colorAnswers.pop_front();
    return answer;
  }

  QStringList messages;
  std::deque<QString> openAnswers;
  std::function<void(const QString&)> whenOpenAnswers;  // runs as the open dialog closes
  std::deque<QString> saveAnswers;
  std::deque<QString> pictureAnswers;
  std::deque<QString> openIfsAnswers;
  std::deque<QString> saveIfsAnswers;
  std::deque<CollectionChoice> collectionAnswers;  // none left: Cancel
  QStringList questions;
  std::deque<std::pair<std::optional<int>, bool>> entryAnswers;  // the entry (none: Cancel), fit
  std::vector<EntryChoice> shownEntries;
  std::deque<std::optional<Rgb>> colorAnswers;  // nullopt answers Cancel
  std::deque<bool> replaceAnswers;              // none left answers No
  QStringList replaceQuestions;                 // the files asked about
  std::vector<Rgb> colorInitials;
  std::deque<std::optional<TargetChoice>> targetAnswers;  // none left answers Cancel
  std::optional<int> mapCountAnswer;                      // nothing answers Cancel
  int mapCountQuestions = 0;

 private:
  static QString take(std::deque<QString>& answers) {
    if (answers.empty()) return QString();
    QString answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

// A printer that keeps the last page, or fails with the message it is told.
class FakePrinter : public Printer {
 public:
  Status printPage(const QImage& picture) override {
    ++calls;
    if (failWith.isEmpty()) {
      lastPage = picture;
      return {};
    }
    return Failure{failWith};
  }
  QString failWith;
  QImage lastPage;
  int calls = 0;
};

// A canvas window with no window: a canvas of a fixed pixel size at 15 twips to the pixel.
class FakeCanvasWindow : public CanvasWindow {
 public:
  explicit FakeCanvasWindow(int widthPixels = 640, int heightPixels = 480)
      : width_(widthPixels), height_(heightPixels) {}

  Canvas& canvas() override {
    if (!canvas_) {
      canvas_ = std::make_unique<Canvas>(width_, height_, 15.0,
                                         drawing != nullptr ? drawing->paperColor : kWhite);
    }
    return *canvas_;
  }
  void setCaption(const QString& text) override { caption = text; }
  void showCanvas() override { ++shown; }
  void pictureChanged() override { ++changed; }
  void close() { canvas_.reset(); }

  float widthTwips() const { return float(width_ * 15); }
  float heightTwips() const { return float(height_ * 15); }

  const DrawingState* drawing = nullptr;  // whose paper colour a fresh canvas takes
  QString caption;
  int shown = 0;
  int changed = 0;

 private:
  int width_;
  int height_;
  std::unique_ptr<Canvas> canvas_;
};

// A whole document without widgets, started as the program starts it.
struct PanelFixture {
  explicit PanelFixture(int widthPixels = 640, int heightPixels = 480)
      : canvasWindow(widthPixels, heightPixels), document(canvasWindow, dialogs, printer) {
    canvasWindow.drawing = &document.drawing;
    startUp(document, canvasWindow.widthTwips(), canvasWindow.heightTwips());
    document.presetDirectory = QStringLiteral(QUILLMERE_PRESET_DIR);
  }

  // Fills row `row` of the grid with the seven texts a to p.
  void setRow(int row, const std::array<QString, kColumnCount>& texts) {
    for (int column = 0; column < kColumnCount; ++column) state.cell(row, column) = texts[column];
  }

  // Reads the grid into the document's map table, as the drawing commands do; false, the table
  // unchanged, when the grid is refused.
  bool readTable() {
    const Result<MapTable> read = readGrid(state);
    if (read) drawing.maps = *read;
    return read.ok();
  }

  ScriptedDialogs dialogs;
  FakePrinter printer;
  FakeCanvasWindow canvasWindow;
  Document document;
  DrawingState& drawing = document.drawing;
  PanelState& state = document.state;
};

}  // namespace quill::testing
