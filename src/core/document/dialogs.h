#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "core/base/color.h"

namespace quill {

inline const QString kAppTitle = QStringLiteral("Quillmere");

// One entry of a file of several systems, as the chooser lists it.
struct EntryChoice {
  QString name;
  int mapCount = 0;
  QString note;    // why it cannot be drawn, in a line; empty when it can
  QString reason;  // the whole of why it cannot be drawn, where the line tells only the end
};

// A picture chosen as the target shape, and whether its shape is lighter than its background.
struct TargetChoice {
  QString path;
  bool invert = false;
};

// The answers to an export onto an existing .ifs file.
enum class CollectionChoice { AddToCollection, ReplaceFile, Cancel };

// The modal dialogs the commands' wrappers ask questions with. Production code shows Qt's
// dialogs; tests script the answers and read what was shown. This base asks no one: every
// question is cancelled and nothing is shown, for a document driven by the commands' operations
// alone (quillmere-render), which neither ask nor show.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // A modal box with the text, the application title, an OK button and no icon.
  virtual void message(const QString& /*text*/) {}
  // The chosen path, or an empty string when the user cancels.
  virtual QString openFileName() { return {}; }
  virtual QString saveFileName() { return {}; }
  // A file name for a picture, PNG unless the user names another image format.
  virtual QString savePictureFileName() { return {}; }
  // The chosen colour starting from `initial`, or nothing when the user cancels.
  virtual std::optional<Rgb> chooseColor(Rgb /*initial*/) { return std::nullopt; }
  // Whether the existing file `path` may be replaced; true only when the user says Yes.
  virtual bool confirmReplace(const QString& /*path*/) { return false; }
  // A name for an .ifs file to read or to write; empty when the user cancels.
  virtual QString openIfsFileName() { return {}; }
  virtual QString saveIfsFileName() { return {}; }
  // `question` with the buttons "Add to the collection", "Replace the file" and Cancel, asked
  // before an entry is exported onto a file that exists.
  virtual CollectionChoice askAddOrReplace(const QString& /*question*/) {
    return CollectionChoice::Cancel;
  }
  // The entry the user chose among `entries` (one or more), or nothing on Cancel. `fit` is the
  // chooser's "Fit into the square" box: shown as given, left as the user left it.
  virtual std::optional<int> chooseEntry(const std::vector<EntryChoice>& /*entries*/,
                                         bool& /*fit*/) {
    return std::nullopt;
  }
  // A picture of any type Qt reads to fit the maps to, with the dialog's "Invert" box; nothing
  // on Cancel.
  virtual std::optional<TargetChoice> openTargetImage() { return std::nullopt; }
  // How many maps (1 to 10) a fit from an empty grid seeds; nothing on Cancel.
  virtual std::optional<int> askFitMapCount() { return std::nullopt; }
};

}  // namespace quill
