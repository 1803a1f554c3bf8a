#include "app/qt_dialogs.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <string>

#include "support/row_name.h"

namespace quill {
namespace {

struct AnswerRow {
  std::string name;
  const char* button;  // the text of the button the user presses
  CollectionChoice choice;
};

class AskAddOrReplace : public ::testing::TestWithParam<AnswerRow> {
 protected:
  // A test that closed the program's last window asked the application to quit, which ends every
  // later modal loop at once; a loop of the application's own, run to its end, clears that.
  void SetUp() override {
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QApplication::exec();
  }
};

// The question about an existing .ifs file shows the program's title, the question and the three
// buttons, and each button gives its own answer.
TEST_P(AskAddOrReplace, EachButtonGivesItsAnswer) {
  const AnswerRow& row = GetParam();
  QStringList shown;
  QString title;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    title = box->windowTitle();
    for (QAbstractButton* button : box->buttons()) shown.append(button->text().remove(u'&'));
    for (QAbstractButton* button : box->buttons()) {
      if (button->text().remove(u'&') == QLatin1String(row.button)) button->click();
    }
  });
  QTimer guard;  // no box came up, or no button closed it; stopped with the test
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, [] {
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
  });
  guard.start(5000);
  QtDialogs dialogs;
  EXPECT_EQ(dialogs.askAddOrReplace(QStringLiteral("tree.ifs already exists.")), row.choice);
  EXPECT_EQ(title, kAppTitle);
  shown.sort();
  EXPECT_EQ(shown, QStringList({"Add to the collection", "Cancel", "Replace the file"}));
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, AskAddOrReplace,
    ::testing::Values(AnswerRow{"add", "Add to the collection", CollectionChoice::AddToCollection},
                      AnswerRow{"replace", "Replace the file", CollectionChoice::ReplaceFile},
                      AnswerRow{"cancel", "Cancel", CollectionChoice::Cancel}),
    testing::RowName{});

}  // namespace
}  // namespace quill
