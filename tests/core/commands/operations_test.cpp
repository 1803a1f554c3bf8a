#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <functional>

#include "core/commands/drawing_checks.h"
#include "core/maths/fit_to_square.h"
#include "support/fakes.h"
#include "support/row_name.h"

namespace quill::testing {
namespace {

const std::array<QString, kColumnCount> kHalf = {"0.5", "0", "0", "0.5", "0", "0", "0.5"};

struct Scene {
  PanelFixture f;
  QTemporaryDir dir;
  QString file(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
};

struct OperationRow {
  std::string name;
  std::function<void(Scene&)> arrange;
  std::function<Status(Scene&)> operation;
  QString message;
};

class Operation : public ::testing::TestWithParam<OperationRow> {};

// An operation never asks and never shows: its failure comes back as a value carrying the very
// message its command shows, so quillmere-render prints what the panel would have shown.
TEST_P(Operation, ReturnsItsFailureAndShowsNothing) {
  const OperationRow& row = GetParam();
  Scene scene;
  row.arrange(scene);
  const Status status = row.operation(scene);
  EXPECT_EQ(status.message().toStdString(), row.message.toStdString());
  EXPECT_FALSE(status.ok());
  EXPECT_TRUE(scene.f.dialogs.messages.isEmpty());
  EXPECT_EQ(scene.f.canvasWindow.shown, 0);
  EXPECT_TRUE(scene.dir.isValid() && QDir(scene.dir.path()).isEmpty()) << "no file written";
}

INSTANTIATE_TEST_SUITE_P(
    Commands, Operation,
    ::testing::ValuesIn(std::vector<OperationRow>{
        {"drawing a grid with an empty field",
         [](Scene& s) {
           s.f.setRow(1, {"0.5", "0", "0", "0.5", "0", "0", ""});
         },
         [](Scene& s) { return drawOnCanvas(s.f.document, PictureMode::BluePrint); },
         kEmptyFieldMessage},
        {"drawing with a count that is no number",
         [](Scene& s) {
           s.f.setRow(1, kHalf);
           s.f.state.countText = QStringLiteral("abc");
         },
         [](Scene& s) { return drawOnCanvas(s.f.document, PictureMode::Fractal); },
         kImproperCountMessage},
        {"computing map 11",
         [](Scene& s) {
           s.f.state.computeFields = {"1", "1", "0", "0", "11"};
         },
         [](Scene& s) { return computeMap(s.f.document); },
         QStringLiteral("Enter index i from 1 to 10")},
        {"loading a file that is not there", [](Scene&) {},
         [](Scene& s) { return loadParametersFrom(s.f.document, s.file("none.dat")); },
         kFileNotFoundMessage},
        {"saving a grid that does not read",
         [](Scene& s) {
           s.f.setRow(1, {"0.5", "abc", "0", "0.5", "0", "0", "1"});
         },
         [](Scene& s) { return saveParametersTo(s.f.document, s.file("out.dat")); },
         kInvalidValueMessage},
        {"a pattern whose preset file is missing",
         [](Scene& s) { s.f.document.presetDirectory = s.dir.path(); },
         [](Scene& s) { return loadPattern(s.f.document, kFernPattern); }, kFileNotFoundMessage},
        {"exporting an empty grid", [](Scene&) {},
         [](Scene& s) { return exportIfsTo(s.f.document, s.file("out.ifs")); },
         kNoMapsToExportMessage},
        {"fitting maps that do not contract",
         [](Scene& s) {
           s.f.setRow(1, {"1.5", "0", "0", "0.5", "0", "0", "1"});
         },
         [](Scene& s) { return fitGridToSquare(s.f.document); }, kNoAttractorMessage},
        {"printing without a printer",
         [](Scene& s) { s.f.printer.failWith = kPrintUnavailableMessage; },
         [](Scene& s) { return printCanvas(s.f.document); }, kPrintUnavailableMessage},
    }),
    RowName{});

}  // namespace
}  // namespace quill::testing
