#include "app/qt_dialogs.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QImageReader>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include "app/entry_chooser.h"
#include "core/base/message_text.h"

namespace quill {

void QtDialogs::message(const QString& text) {
  // The core words its messages in the source language; they are shown in the user's.
  QMessageBox box(QMessageBox::NoIcon, kAppTitle, messageText(text), QMessageBox::Ok, parent_);
  box.exec();
}

QString QtDialogs::openFileName() {
  const QString name = QFileDialog::getOpenFileName(parent_, QString(), lastFileName_);
  if (!name.isEmpty()) lastFileName_ = name;
  return name;
}

QString QtDialogs::saveFileName() {
  const QString name = QFileDialog::getSaveFileName(parent_, QString(), lastFileName_);
  if (!name.isEmpty()) lastFileName_ = name;
  return name;
}

QString QtDialogs::savePictureFileName() {
  const QString name = QFileDialog::getSaveFileName(
      parent_, tr("Save Picture"),
      lastPictureName_.isEmpty() ? QStringLiteral("picture.png") : lastPictureName_,
      tr("PNG image (*.png);;JPEG image (*.jpg *.jpeg);;BMP image (*.bmp);;All files (*)"));
  if (!name.isEmpty()) lastPictureName_ = name;
  return name;
}

std::optional<Rgb> QtDialogs::chooseColor(Rgb initial) {
  const QColor chosen = QColorDialog::getColor(QColor::fromRgb(initial), parent_);
  if (!chosen.isValid()) return std::nullopt;
  return rgb(chosen.red(), chosen.green(), chosen.blue());
}

bool QtDialogs::confirmReplace(const QString& path) {
  // Worded as Qt's file dialogs ask it; No is the default, so Enter keeps the file.
  QMessageBox box(
      QMessageBox::NoIcon, kAppTitle,
      tr("%1 already exists.\nDo you want to replace it?").arg(QDir::toNativeSeparators(path)),
      QMessageBox::Yes | QMessageBox::No, parent_);
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

QString QtDialogs::openIfsFileName() {
  const QString name = QFileDialog::getOpenFileName(parent_, tr("Import .ifs"), lastIfsName_,
                                                    tr("IFS files (*.ifs);;All files (*)"));
  if (!name.isEmpty()) lastIfsName_ = name;
  return name;
}

QString QtDialogs::saveIfsFileName() {
  // Export asks itself about an existing file, offering to add to it; the dialog asking first
  // would make the user answer twice.
  QString name = QFileDialog::getSaveFileName(parent_, tr("Export .ifs"), lastIfsName_,
                                              tr("IFS files (*.ifs);;All files (*)"), nullptr,
                                              QFileDialog::DontConfirmOverwrite);
  if (!name.isEmpty() && QFileInfo(name).suffix().isEmpty()) name += QStringLiteral(".ifs");
  if (!name.isEmpty()) lastIfsName_ = name;
  return name;
}

CollectionChoice QtDialogs::askAddOrReplace(const QString& question) {
  QMessageBox box(QMessageBox::NoIcon, kAppTitle, question, QMessageBox::NoButton, parent_);
  QPushButton* add = box.addButton(tr("Add to the collection"), QMessageBox::AcceptRole);
  QPushButton* replace = box.addButton(tr("Replace the file"), QMessageBox::DestructiveRole);
  box.addButton(QMessageBox::Cancel);
  box.setDefaultButton(add);
  box.exec();
  if (box.clickedButton() == add) return CollectionChoice::AddToCollection;
  if (box.clickedButton() == replace) return CollectionChoice::ReplaceFile;
  return CollectionChoice::Cancel;
}

std::optional<int> QtDialogs::chooseEntry(const std::vector<EntryChoice>& entries, bool& fit) {
  EntryChooser chooser(entries, fit, parent_);
  if (chooser.exec() != QDialog::Accepted || chooser.chosen() < 0) return std::nullopt;
  fit = chooser.fit();
  return chooser.chosen();
}

std::optional<TargetChoice> QtDialogs::openTargetImage() {
  QStringList patterns;
  for (const QByteArray& suffix : QImageReader::supportedImageFormats()) {
    patterns << QStringLiteral("*.") + QString::fromLatin1(suffix);
  }
  // Qt's own dialog, so that the "Invert" box can sit under the file list.
  QFileDialog dialog(parent_, tr("Target Image"), lastTargetName_,
                     tr("Pictures (%1);;All files (*)").arg(patterns.join(u' ')));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setFileMode(QFileDialog::ExistingFile);
  auto* invert = new QCheckBox(tr("Invert (a light shape on a dark background)"));
  invert->setObjectName(QStringLiteral("invertTarget"));
  invert->setChecked(invertTarget_);
  if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
    grid->addWidget(invert, grid->rowCount(), 0, 1, grid->columnCount());
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  lastTargetName_ = dialog.selectedFiles().constFirst();
  invertTarget_ = invert->isChecked();
  return TargetChoice{lastTargetName_, invertTarget_};
}

std::optional<int> QtDialogs::askFitMapCount() {
  bool ok = false;
  const int count = QInputDialog::getInt(
      parent_, tr("Fit to Target"), tr("The grid is empty. How many maps should draw the target?"),
      4, 1, 10, 1, &ok);
  return ok ? std::optional<int>(count) : std::nullopt;
}

}  // namespace quill
