#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>
#include <vector>

#include "app/frame_fit.h"
#include "app/recent_files.h"
#include "core/editor/map_editor_model.h"
#include "core/maps/panel_state.h"

class QLineEdit;
class QPushButton;
class QLabel;
class QMenu;

namespace quill {

struct Document;
class CollageOverlay;
class AnimationWindow;
class FileDrop;
class TargetFit;
class MapEditor;
class MathsReportWindow;
class PictureDialog;

// The control panel, the program's only window for input. It lays out the fields,
// buttons and menus, keeps the panel state in step with what the user types, and hands every click
// to the commands of the core, which work on the document.
class ControlPanel : public QMainWindow {
  Q_OBJECT

 public:
  explicit ControlPanel(Document& document, QWidget* parent = nullptr);
  ~ControlPanel() override;

  // The load event: position (10, 10) and the screen's size less 200 twips (the frame's size,
  // where the window system reports it); shows the document's fields, focus in the count.
  void resetPanel();

  // Shows the panel state in the widgets (after a command changed it).
  void refreshFromState();

  // While a drawing runs the panel takes no other command. Keyboard focus goes back afterwards
  // to the control that had it.
  void setBusy(bool busy);

  // Opens the first menu, as F10 does; the arrow keys go on from there.
  void openFirstMenu();

  // "Tools" -> "Undo ..." and "Redo ...": takes the last step on the document's stack back, or
  // again, and shows the panel, the editor and the report as the step left them.
  void undo() { takeStep(false); }
  void redo() { takeStep(true); }

  // "Tools" -> "Map Editor...": opens the editor beside the panel, or brings it to the front.
  void openMapEditor();
  MapEditor* mapEditor() const { return mapEditor_.get(); }
  MapEditorModel& editorModel() { return editorModel_; }

  // "Tools" -> "Maths Report": opens the report beside the panel, or brings it to the front.
  void openMathsReport();
  MathsReportWindow* mathsReport() const { return mathsReport_.get(); }
  // "Tools" -> "Render Picture...": opens the picture dialog beside the panel, or brings it to the
  // front.
  void openPictureDialog();
  PictureDialog* pictureDialog() const { return pictureDialog_.get(); }
  // "Tools" -> "Animation...": opens the animation's keys beside the panel, or brings them to the
  // front.
  void openAnimationWindow();
  AnimationWindow* animationWindow() const { return animationWindow_.get(); }
  // The open tool windows back in front of the full-screen canvas, which a drawing brings to the
  // front; the canvas keeps the keyboard.
  void raiseToolWindows();

  // Opens each file as its kind asks (a parameter file, an .ifs file, a picture Quillmere wrote),
  // each one undo step; a picture's other settings go to the Render Picture window, opened.
  // Failures are shown, one message for each file.
  void openFiles(const QStringList& paths);

  // The object name of the grid's field in `row` (1 to 10) and `column` (kColA to kColP):
  // "cell_a_1" for a of map 1.
  static QString cellName(int row, int column);

  RecentFiles& recentFiles() { return *recentFiles_; }

  // The target shape, as "Target Image..." chose it, and the fit to it.
  CollageOverlay& collage() { return *collage_; }
  TargetFit& targetFit() { return *targetFit_; }
  // Takes the picture's shape as the target, read in the background, and shows it in the map
  // editor; shows why not.
  void loadTargetImage(const QString& path, bool invert);
  void clearTarget();
  // "Fit to Target" in the map editor.
  void fitToTarget();

  // Twips to logical pixels on this screen.
  int px(int twips) const;

 signals:
  // "Exit", or the panel's close box: the program ends.
  void exitRequested();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildControls();
  void buildMenus();
  // The undo and redo items, named after the step they take, enabled only when there is one.
  void addStepActions(QMenu* tools);
  void takeStep(bool redo);
  // Keys a text field of the panel gives up (a ShortcutOverride): Ctrl+E, its end of the line,
  // opens the map editor; the undo and redo keys take the panel's steps where the field has no
  // typing of its own to take back.
  static bool claimedByPanel(QObject* field, QEvent* event);
  // The user typed `text` into `field` of the panel state: one spell of typing in one field is
  // one undo step.
  void typed(QString& field, const QString& text);
  void setTabOrder();
  void fitFonts();
  // The grid's texts changed here (typing, a command): the editor and the report follow.
  void gridChanged();
  // The map editor or the report changed the grid's texts: the panel and the other follow.
  void gridEditedInEditor();
  void gridEditedInReport();
  // The animation window showed a frame of the morph, or a key, in the grid.
  void gridShownByAnimation();
  QPushButton* addButton(const char* name, const QString& caption, int left, int top);
  QLabel* addLabel(const QString& caption, int left, int top, int width, int height);
  QLineEdit* addField(const QString& name, int left, int top, int width, int height);
  // Runs a handler, then shows what it changed; a change of the panel is one undo step named
  // `step`. A command that `replacesMaps` (a pattern, Load, Import, Fit) has the map editor frame
  // the new maps.
  template <typename Handler>
  void run(const QString& step, Handler handler, bool replacesMaps = false);
  // Files dropped on the panel, its fields or the Map Editor are opened; files the commands use
  // go to "Recent Files".
  void acceptFileDrops();
  // "Tools" -> "Recent Files", listed afresh each time it opens.
  void addRecentFilesMenu(QMenu* tools);
  void addTargetActions(QMenu* tools);
  void chooseTargetImage();
  void targetLoaded(const QString& failure);
  // The grid holds the fit's maps: the panel, the editor and the report follow.
  void fittedMapsShown();
  void openRecent(const RecentFile& file);

  Document& document_;
  PanelState& state_;
  MapEditorModel editorModel_;  // its steps go on the document's undo stack
  std::unique_ptr<MapEditor> mapEditor_;
  std::unique_ptr<MathsReportWindow> mathsReport_;
  std::unique_ptr<PictureDialog> pictureDialog_;
  std::unique_ptr<AnimationWindow> animationWindow_;
  QWidget* client_ = nullptr;

  QLineEdit* countField_ = nullptr;
  std::array<QLineEdit*, kComputeFieldCount> computeFields_{};
  std::array<std::array<QLineEdit*, kGridRows + 1>, kColumnCount> grid_{};
  std::array<QPushButton*, 8> buttons_{};  // in tab order
  std::vector<QLabel*> fieldLabels_;       // the captions beside the count and compute fields
  QPointer<QWidget> focusBeforeBusy_;
  const QString* typingIn_ = nullptr;         // the field of the spell of typing under way, if any
  std::uint64_t typingSpell_ = 0;             // numbers the spells of typing
  FrameFit* frameFit_ = new FrameFit(*this);  // owned by this window
  FileDrop* fileDrop_ = nullptr;              // owned by this window
  RecentFiles* recentFiles_ = new RecentFiles(this);
  CollageOverlay* collage_;  // owned by this window
  TargetFit* targetFit_;     // owned by this window
};

}  // namespace quill
