#pragma once

#include <QWidget>
#include <optional>
#include <vector>

#include "app/job_runner.h"
#include "core/base/color.h"
#include "core/base/result.h"
#include "core/picture/picture.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QSettings;
class QPushButton;
class QSpinBox;
class QToolButton;

namespace quill {

struct Document;
struct PictureRecord;

// What Render Picture is set to draw: the drawing, its count as typed (the depth or the points)
// and the picture's settings, its format a PNG of the depth asked for.
struct RenderSettings {
  PictureMode mode = PictureMode::BluePrint;
  QString count;
  PictureRequest request;
};

// "Render Picture...": a window of its own beside the panel that renders the current maps to a
// file of any size up to 16384 a side, the chaos game shaded by its hit counts if asked. Render
// reads the grid as the drawing commands do (a refusal shows their message), then renders on a
// worker thread (a JobRunner) with its own copy of the maps, so the panel and the canvas stay
// usable. The file's
// name decides its type (PNG, BMP, JPEG or SVG); an existing file is replaced only once the user
// agrees. Cancel, closing the window or ending the program stops the render; the file is then
// left as it was.
class PictureDialog : public QWidget {
  Q_OBJECT

 public:
  explicit PictureDialog(Document& document, QWidget* parent = nullptr);
  // Cancels a render still running and waits for it.
  ~PictureDialog() override;

  bool rendering() const { return renders_.busy(); }
  // Asks the running render to stop; it stops within a batch of work.
  void cancelRender();

  static constexpr int kFileFieldWidth = 260;  // pixels, at the least
  inline static const QString kFileTip = QStringLiteral(
      "The name's extension picks the type: .png, .jpg, .bmp, or .svg for Blue Print and Fractal");

  // Pen and paper as the panel's colour commands last set them.
  void takeDocumentColours();
  // The settings an opened picture was rendered with: size, mode, count, shading, colours, seed.
  void takeSettings(const PictureRecord& record);
  // The window's settings as they stand; fails with its message when the seed is not a number.
  Result<RenderSettings> settings() const;
  // The settings kept between runs (not the colours, which follow the panel's).
  void saveSettings(QSettings& settings) const;
  void restoreSettings(const QSettings& settings);

 signals:
  // A render ended: written, failed or cancelled; the status label says which.
  void renderEnded();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildWidgets();
  QToolButton* addColourButton(const QString& name, Rgb& colour);
  static void showColour(QToolButton* button, Rgb colour);
  // The file field as wide as its text, within the screen.
  void fitFileField();
  void updateEnabled();
  // A message through the program's dialogs, this window in front again afterwards.
  void tell(const QString& message);
  // The status line, the window grown to show all of it.
  void showStatus(const QString& text);
  // A render refused: the message in the status line and in a box.
  void refuse(const QString& message);
  // Whether `path` may be written: true when no file is there, when the user agreed to replace
  // it (asked once for each file) or when this window wrote it last.
  bool mayReplace(const QString& path);
  void comeBack();
  void browse();
  void render();
  // A render ended: the file written (`outcome` holds no failure), cancelled or failed.
  void finished(const Status& outcome);
  PictureMode mode() const;

  Document& document_;
  QSpinBox* width_ = nullptr;
  QSpinBox* height_ = nullptr;
  QComboBox* mode_ = nullptr;
  QLineEdit* depth_ = nullptr;   // the Fractal's
  QLineEdit* points_ = nullptr;  // the Chaos Game's
  QComboBox* shading_ = nullptr;
  QDoubleSpinBox* gamma_ = nullptr;
  QComboBox* tone_ = nullptr;  // in the order of Tone
  QDoubleSpinBox* gammaThreshold_ = nullptr;
  QSpinBox* supersample_ = nullptr;
  std::vector<QToolButton*> mapButtons_;
  std::vector<Rgb> mapColours_;  // one per map slot
  Rgb pen_;
  Rgb paper_;
  QToolButton* penButton_ = nullptr;
  QToolButton* paperButton_ = nullptr;
  QLineEdit* seed_ = nullptr;
  QLineEdit* file_ = nullptr;
  QCheckBox* depth16_ = nullptr;
  QCheckBox* transparent_ = nullptr;
  QPushButton* render_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* status_ = nullptr;

  QString target_;            // the file being written
  QString agreed_;            // the absolute path the user let this window replace
  bool cancelAsked_ = false;  // Cancel, a close or Exit came during the render
  bool closing_ = false;      // the window is closing: no message box holds that up
  JobRunner renders_;         // last: a render still running ends before the rest goes
};

}  // namespace quill
