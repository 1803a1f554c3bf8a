#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <functional>
#include <optional>

#include "app/job_runner.h"
#include "app/picture_dialog.h"
#include "core/editor/panel_step.h"
#include "core/morph/animation.h"
#include "core/movie/movie_export.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace quill {

struct Document;
class AnimationTimeline;

// "Tools" -> "Animation...": the keys of a morph on a timeline. Keys are taken from the grid and
// put back into it (one undo step), moved and removed; the easing, the loop and each segment's
// matching of maps are chosen here, and the whole is opened from and saved to a .qmanim file.
// Scrubbing the playhead or playing shows the morph in the grid, and so in the Map Editor's
// preview, without an undo step: a scrub only looks, and the grid's texts come back when it
// ends. Opening a key is what changes the grid. "Export..." renders the morph's frames as Render
// Picture is set to render a picture, off the UI thread, to numbered PNGs, a GIF or an MP4.
class AnimationWindow : public QWidget {
  Q_OBJECT

 public:
  // The window's one way to ask for a file's name (empty: the user cancelled); tests script it.
  using FileNameAsker = std::function<QString(bool save)>;
  // What "Export..." asks for; `agreed`: the user has let an existing file be replaced.
  struct MovieChoice {
    int frames = 50;
    double framesPerSecond = 25;
    QString path;
    bool agreed = false;
  };
  // Asks for the frames and the file, starting from the last answer; nothing: cancelled.
  using MovieAsker = std::function<std::optional<MovieChoice>(const MovieChoice& last)>;
  // Render Picture's settings as the user last set them.
  using PictureSettingsSource = std::function<Result<RenderSettings>()>;

  explicit AnimationWindow(Document& document, QWidget* parent = nullptr);
  ~AnimationWindow() override;

  const Animation& animation() const { return animation_; }
  int selectedKey() const { return selected_; }
  void setFileNameAsker(FileNameAsker asker) { askFileName_ = std::move(asker); }
  void setMovieAsker(MovieAsker asker) { askMovie_ = std::move(asker); }
  void setPictureSettings(PictureSettingsSource source) { pictureSettings_ = std::move(source); }

  // The window's commands, as its buttons run them.
  void addKey();
  void openKey();
  void removeSelectedKey();
  void selectKey(int index);
  void moveSelectedKey(double time);
  void openAnimation();
  void saveAnimation();
  // The grid shows the morph at `time`; endScrub() gives back the texts it held before.
  void scrubTo(double time);
  void endScrub();
  void play();
  void pause();
  bool playing() const;
  // Asks for the frames and the file, then renders the movie on a worker; a refusal or a
  // failure is shown in a box, a cancel only in the status line.
  void exportMovie();
  bool exporting() const { return exports_.busy(); }
  // Stops the export under way within a batch of work; an earlier movie stays as it was.
  void cancelExport();

 signals:
  // The window changed the grid's texts (a scrub, its end, an opened key): the panel and the
  // other tool windows follow.
  void gridShown();

 protected:
  void hideEvent(QHideEvent* event) override;

 private:
  void buildLayout();
  // The plan, the timeline, the key's time and the selected segment's matching shown afresh
  // after the keys changed.
  void keysChanged();
  void showSegment();
  void applyMatchingText();
  void step();  // one frame of playing
  double endTime() const;
  std::optional<MovieChoice> askMovie(const MovieChoice& last);
  // The movie's request: the keys' plan, the frames, and Render Picture's settings checked as
  // its Render checks them with the first key in the grid.
  Result<MovieRequest> movieRequest(const MovieChoice& choice);
  // The export to `path` ended: written (`outcome` holds no failure), cancelled or failed.
  void exportEnded(const Status& outcome, const QString& path);
  void showExportStatus(const QString& text);
  // A box of the program's dialogs (which come up over the panel), this window in front after.
  void tell(const QString& message);

  Document& document_;
  Animation animation_;
  std::optional<AnimationPlan> plan_;
  QString planMessage_;  // why there is no plan
  int selected_ = -1;
  std::optional<PanelSnapshot> beforeScrub_;
  FileNameAsker askFileName_;
  QString lastPath_;
  QTimer* playTimer_ = nullptr;
  QElapsedTimer playClock_;
  double playFrom_ = 0;

  AnimationTimeline* timeline_ = nullptr;
  QDoubleSpinBox* time_ = nullptr;
  QComboBox* easing_ = nullptr;
  QCheckBox* loop_ = nullptr;
  QPushButton* playButton_ = nullptr;
  QLabel* segment_ = nullptr;
  QLineEdit* matching_ = nullptr;
  QLabel* notes_ = nullptr;

  MovieAsker askMovie_;
  PictureSettingsSource pictureSettings_;
  MovieChoice lastMovie_;
  QString writtenMovie_;  // the absolute path of the GIF or MP4 this window wrote last
  bool exportCancelAsked_ = false;
  QPushButton* exportButton_ = nullptr;
  QPushButton* cancelExportButton_ = nullptr;
  QProgressBar* exportProgress_ = nullptr;
  QLabel* exportStatus_ = nullptr;
  JobRunner exports_;  // last: an export still running ends before the rest goes
};

}  // namespace quill
