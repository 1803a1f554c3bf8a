#pragma once

#include <QDialog>
#include <vector>

#include "core/document/dialogs.h"

class QCheckBox;
class QLineEdit;
class QListWidget;

namespace quill {

// Lists the entries of an .ifs file with their map counts, narrowed by what the user types (Down
// goes on into the list), with a "Fit into the square" box. Entries that cannot be drawn are listed
// with the reason, wrapped, and in full in their tooltip; choosing one shows the reason from the
// command that imports it.
class EntryChooser : public QDialog {
  Q_OBJECT

 public:
  EntryChooser(const std::vector<EntryChoice>& entries, bool fit, QWidget* parent = nullptr);

  // The chosen entry's index in the list given, or -1.
  int chosen() const;
  bool fit() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void filter(const QString& text);

  QLineEdit* search_ = nullptr;
  QListWidget* list_ = nullptr;
  QCheckBox* fit_ = nullptr;
};

}  // namespace quill
