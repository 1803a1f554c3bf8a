#pragma once

#include <QStringList>
#include <deque>
#include <memory>
#include <optional>

#include "core/canvas/canvas.h"
#include "core/document/canvas_window.h"
#include "core/document/dialogs.h"
#include "core/document/document.h"
#include "core/maps/module1.h"
#include "core/maps/panel_state.h"
#include "support/qt_printers.h"

namespace quill::testing {

// Dialogs with scripted answers; records every message shown.
class ScriptedDialogs : public Dialogs {
 public:
  void message(const QString& text) override { messages.append(text); }
  QString openFileName() override { return take(openAnswers); }
  QString saveFileName() override { return take(saveAnswers); }
  QString savePictureFileName() override { return take(pictureAnswers); }
  std::optional<Rgb> chooseColor(Rgb initial) override {
    colorInitials.push_back(initial);
    if (colorAnswers.empty()) return std::nullopt;
    auto answer = colorAnswers.front();
    colorAnswers.pop_front();
    return answer;
  }

  QStringList messages;
  std::deque<QString> openAnswers;
  std::deque<QString> saveAnswers;
  std::deque<QString> pictureAnswers;
  std::deque<std::optional<Rgb>> colorAnswers;  // nullopt answers Cancel
  std::vector<Rgb> colorInitials;

 private:
  static QString take(std::deque<QString>& answers) {
    if (answers.empty()) return QString();
    QString answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

// A printer that keeps the last page, or fails as told.
class FakePrinter : public Printer {
 public:
  PrintError printPage(const QImage& picture) override {
    ++calls;
    if (failWith == PrintError::None) lastPage = picture;
    return failWith;
  }
  PrintError failWith = PrintError::None;
  QImage lastPage;
  int calls = 0;
};

// Form1 without a window: a canvas of a fixed pixel size at 15 twips to the pixel.
class FakeCanvasWindow : public CanvasWindow {
 public:
  FakeCanvasWindow(Module1& module1, int widthPixels = 640, int heightPixels = 480)
      : module1_(module1), width_(widthPixels), height_(heightPixels) {}

  Canvas& canvas() override {
    if (!canvas_) canvas_ = std::make_unique<Canvas>(width_, height_, 15.0, module1_.paperColor);
    return *canvas_;
  }
  void setCaption(const QString& text) override { caption = text; }
  void showCanvas() override { ++shown; }
  void pictureChanged() override { ++changed; }
  void close() { canvas_.reset(); }

  float widthTwips() const { return float(width_ * 15); }
  float heightTwips() const { return float(height_ * 15); }

  QString caption;
  int shown = 0;
  int changed = 0;

 private:
  Module1& module1_;
  int width_;
  int height_;
  std::unique_ptr<Canvas> canvas_;
};

// A whole panel without widgets, started as the program starts it.
struct PanelFixture {
  explicit PanelFixture(int widthPixels = 640, int heightPixels = 480)
      : form1(module1, widthPixels, heightPixels), panel(state, module1, form1, dialogs, printer) {
    module1.maps.clear();
    module1.deriveDrawingSquare(form1.widthTwips(), form1.heightTwips());
    panel.setPresetDirectory(QStringLiteral(QUILLMERE_PRESET_DIR));
    panel.Form_Load();
  }

  // Fills row `row` of the grid with the seven texts a to p.
  void setRow(int row, const std::array<QString, kColumnCount>& texts) {
    for (int column = 0; column < kColumnCount; ++column) state.cell(row, column) = texts[column];
  }

  Module1 module1;
  PanelState state;
  ScriptedDialogs dialogs;
  FakePrinter printer;
  FakeCanvasWindow form1;
  Panel panel;
};

}  // namespace quill::testing
