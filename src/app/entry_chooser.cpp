#include "app/entry_chooser.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

namespace quill {

EntryChooser::EntryChooser(const std::vector<EntryChoice>& entries, bool fit, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("entryChooser"));
  setWindowTitle(tr("Import .ifs"));
  search_ = new QLineEdit(this);
  search_->setObjectName(QStringLiteral("entrySearch"));
  search_->setPlaceholderText(tr("Type to search the names"));
  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("entryList"));
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const EntryChoice& entry = entries[i];
    QString text = QStringLiteral("%1  (%2 %3)")
                       .arg(entry.name)
                       .arg(entry.mapCount)
                       .arg(entry.mapCount == 1 ? tr("map") : tr("maps"));
    if (!entry.note.isEmpty()) text += QStringLiteral(" - ") + entry.note;
    auto* item = new QListWidgetItem(text, list_);
    item->setData(Qt::UserRole, int(i));
    item->setData(Qt::UserRole + 1, entry.name);
    if (!entry.note.isEmpty()) {
      item->setForeground(palette().color(QPalette::PlaceholderText));
      // The list wraps the line; the tooltip gives the whole refusal, where it was in the file.
      item->setToolTip(entry.reason.isEmpty() ? entry.note : entry.reason);
    }
  }
  // A refusal is read in full, over as many lines as it takes.
  list_->setWordWrap(true);
  list_->setTextElideMode(Qt::ElideNone);
  list_->setResizeMode(QListView::Adjust);
  list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list_->setCurrentRow(0);
  fit_ = new QCheckBox(tr("Fit into the square"), this);
  fit_->setObjectName(QStringLiteral("fitIntoSquare"));
  fit_->setChecked(fit);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
  connect(search_, &QLineEdit::textChanged, this, &EntryChooser::filter);
  search_->installEventFilter(this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(search_);
  layout->addWidget(list_, 1);
  layout->addWidget(fit_);
  layout->addWidget(buttons);
  resize(420, 480);
}

void EntryChooser::filter(const QString& text) {
  QListWidgetItem* first = nullptr;
  for (int row = 0; row < list_->count(); ++row) {
    QListWidgetItem* item = list_->item(row);
    const bool shown = item->data(Qt::UserRole + 1).toString().contains(text, Qt::CaseInsensitive);
    item->setHidden(!shown);
    if (shown && first == nullptr) first = item;
  }
  list_->setCurrentItem(first);
}

bool EntryChooser::eventFilter(QObject* watched, QEvent* event) {
  // Down and Page Down go on from the search into the list, at the match that is current.
  if (watched == search_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Down || key == Qt::Key_PageDown) {
      list_->setFocus(Qt::TabFocusReason);
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

int EntryChooser::chosen() const {
  const QListWidgetItem* item = list_->currentItem();
  return item != nullptr && !item->isHidden() ? item->data(Qt::UserRole).toInt() : -1;
}

bool EntryChooser::fit() const { return fit_->isChecked(); }

}  // namespace quill
