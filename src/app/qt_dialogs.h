#pragma once

#include <QCoreApplication>
#include <QStringList>

#include "core/document/dialogs.h"

class QWidget;

namespace quill {

// The real dialogs: Qt's message box, file dialogs and colour dialog, modal over `parent`.
class QtDialogs : public Dialogs {
  Q_DECLARE_TR_FUNCTIONS(quill::QtDialogs)

 public:
  void setParent(QWidget* parent) { parent_ = parent; }

  // The names the file dialogs start from, kept between runs: Load and Save Parameters, Save
  // Picture, and the .ifs files.
  QStringList startingNames() const { return {lastFileName_, lastPictureName_, lastIfsName_}; }
  void setStartingNames(const QStringList& names) {
    lastFileName_ = names.value(0);
    lastPictureName_ = names.value(1);
    lastIfsName_ = names.value(2);
  }

  void message(const QString& text) override;
  QString openFileName() override;
  QString saveFileName() override;
  QString savePictureFileName() override;
  std::optional<Rgb> chooseColor(Rgb initial) override;
  bool confirmReplace(const QString& path) override;
  QString openIfsFileName() override;
  QString saveIfsFileName() override;
  CollectionChoice askAddOrReplace(const QString& question) override;
  std::optional<int> chooseEntry(const std::vector<EntryChoice>& entries, bool& fit) override;
  std::optional<TargetChoice> openTargetImage() override;
  std::optional<int> askFitMapCount() override;

 private:
  QWidget* parent_ = nullptr;
  QString lastFileName_;  // the file dialogs start from the name chosen last, Load or Save
  QString lastPictureName_;
  QString lastIfsName_;
  QString lastTargetName_;
  bool invertTarget_ = false;
};

}  // namespace quill
