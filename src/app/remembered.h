#pragma once

#include <QSettings>
#include <QString>
#include <memory>

namespace quill {

class ControlPanel;
class QtDialogs;
struct Document;

// What the program keeps between runs, in an INI file: the tool windows that were open and
// where, the Map Editor's view, the names the file dialogs start from, the Render Picture
// settings, the Import chooser's "Fit into the square", and "Recent Files". The panel itself
// starts as it always has. The file carries its version ("format/version"); a file that does
// not read, or that a newer version wrote, is ignored with a message on standard error.
class Remembered {
 public:
  static constexpr int kVersion = 1;

  // Reads the file at `path` (nothing there: a first run).
  explicit Remembered(const QString& path);
  ~Remembered();

  // The user's own file, in the system's folder for programs' settings.
  static QString defaultPath();

  // Whether the file was read (or is new) and may be written.
  bool usable() const { return usable_; }

  // At start, once the panel is shown: the windows that were open, opened where they were, and
  // everything else put back.
  void restore(ControlPanel& panel, QtDialogs* dialogs, Document& document);
  // At the end: written atomically. A file of a newer version is left as it was.
  void save(ControlPanel& panel, const QtDialogs* dialogs, const Document& document);

 private:
  std::unique_ptr<QSettings> settings_;
  bool usable_ = true;
};

}  // namespace quill
