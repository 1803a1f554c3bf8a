#include "app/entry_chooser.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/qt_dialogs.h"

namespace quill {
namespace {

const QString kRefusal = QStringLiteral(
    "The file is not a valid .ifs file.\nLine 3, entry \"Broken\": \"x\" is not a number.");

std::vector<EntryChoice> entries() {
  return {{QStringLiteral("Fern"), 4, {}, {}},
          {QStringLiteral("Broken"), 1, kRefusal.section(u'\n', -1), kRefusal},
          {QStringLiteral("Fir"), 3, {}, {}}};
}

// Typing narrows the list, Down goes on into it at the first match, and a refusal is there in
// full: wrapped in the list, whole in its tooltip.
TEST(EntryChooser, DownLeavesTheSearchForTheListAndRefusalsReadInFull) {
  EntryChooser chooser(entries(), true);
  chooser.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&chooser));
  auto* search = chooser.findChild<QLineEdit*>(QStringLiteral("entrySearch"));
  auto* list = chooser.findChild<QListWidget*>(QStringLiteral("entryList"));
  search->setFocus();
  QTest::keyClicks(search, QStringLiteral("fi"));
  QTest::keyClick(search, Qt::Key_Down);
  EXPECT_TRUE(list->hasFocus());
  EXPECT_EQ(chooser.chosen(), 2);  // "Fir", the one match
  EXPECT_EQ(search->text(), QStringLiteral("fi"));

  EXPECT_TRUE(list->wordWrap());
  EXPECT_EQ(list->item(1)->toolTip(), kRefusal);
  EXPECT_TRUE(list->item(1)->text().contains(QStringLiteral("\"x\" is not a number.")));
}

// A file of one entry shows the chooser as one of many does: the "Fit into the square" box as the
// last import left it, and the user's answer kept.
TEST(EntryChooser, AFileOfOneEntryAsksAboutFitting) {
  // A test that closed the program's last window asked the application to quit, which ends every
  // later modal loop at once; a loop of the application's own, run to its end, clears that.
  QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
  QApplication::exec();
  bool shownChecked = false;
  QTimer::singleShot(0, [&] {
    auto* chooser = qobject_cast<EntryChooser*>(QApplication::activeModalWidget());
    if (chooser == nullptr) return;
    auto* fit = chooser->findChild<QCheckBox*>(QStringLiteral("fitIntoSquare"));
    shownChecked = fit->isVisible() && fit->isChecked();
    fit->setChecked(false);
    chooser->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
  });
  QTimer guard;  // no chooser came up, or nothing closed it; stopped with the test
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, [] {
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
  });
  guard.start(5000);
  QtDialogs dialogs;
  bool fit = true;
  EXPECT_EQ(dialogs.chooseEntry({{QStringLiteral("Gasket"), 3, {}, {}}}, fit), 0);
  EXPECT_TRUE(shownChecked);
  EXPECT_FALSE(fit);
}

}  // namespace
}  // namespace quill
