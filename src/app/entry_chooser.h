#pragma once

#include <QDialog>
#include <vector>

#include "core/document/dialogs.h"

class QCheckBox;
class QLineEdit;
class QListWidget;

namespace quill {

// Lists the entries of a file of several systems with their map counts, narrowed by what the
// user types, with a "Fit into the square" box. Entries that cannot be drawn are listed with the
// reason; choosing one shows the reason from the command that imports it.
class EntryChooser : public QDialog {
  Q_OBJECT

 public:
  EntryChooser(const std::vector<EntryChoice>& entries, bool fit, QWidget* parent = nullptr);

  // The chosen entry's index in the list given, or -1.
  int chosen() const;
  bool fit() const;

 private:
  void filter(const QString& text);

  QLineEdit* search_ = nullptr;
  QListWidget* list_ = nullptr;
  QCheckBox* fit_ = nullptr;
};

}  // namespace quill
