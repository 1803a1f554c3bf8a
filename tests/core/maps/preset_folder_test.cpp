#include "core/maps/preset_folder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "core/maps/pattern_catalogue.h"
#include "support/row_name.h"

namespace quill {
namespace {

// Which pattern files a folder of the tree holds.
enum class Holds { None, Some, All };

struct PresetFolderRow {
  const char* name;
  Holds besideProgram;  // bin/, where a build tree keeps them
  Holds installed;      // share/quillmere/, where an install puts them
  const char* expectedFolder;
  bool problem;
};

void PrintTo(const PresetFolderRow& row, std::ostream* out) { *out << row.name; }

void fill(const QString& folder, Holds holds) {
  QDir().mkpath(folder);
  int written = 0;
  for (const PatternEntry& pattern : kPatterns) {
    if (pattern.fileName.isEmpty() || holds == Holds::None) continue;
    if (holds == Holds::Some && written == 2) break;
    QFile file(QDir(folder).filePath(pattern.fileName));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("0.5,0,0,0.5,0,0,1\r\n");
    ++written;
  }
}

class PresetFolderTable : public ::testing::TestWithParam<PresetFolderRow> {};

TEST_P(PresetFolderTable, FindsTheFolderThatHoldsThePatterns) {
  const PresetFolderRow& row = GetParam();
  QTemporaryDir prefix;
  const QString program = prefix.filePath(QStringLiteral("bin"));
  fill(program, row.besideProgram);
  fill(prefix.filePath(QStringLiteral("share/quillmere")), row.installed);

  const PresetFolder found = findPresetFolder(program);
  EXPECT_EQ(found.path, QDir::cleanPath(prefix.filePath(QString::fromLatin1(row.expectedFolder))));
  EXPECT_EQ(!found.problem.isEmpty(), row.problem) << found.problem.toStdString();
  if (row.besideProgram == Holds::None && row.installed == Holds::None) {
    // The message names both folders it looked in, so the user knows where they belong.
    EXPECT_TRUE(found.problem.contains(QDir::toNativeSeparators(program)));
    EXPECT_TRUE(found.problem.contains(QDir::toNativeSeparators(
        QDir::cleanPath(prefix.filePath(QStringLiteral("share/quillmere"))))));
  }
}

INSTANTIATE_TEST_SUITE_P(
    PresetFolders, PresetFolderTable,
    ::testing::Values(PresetFolderRow{"build tree: beside the program", Holds::All, Holds::None,
                                      "bin", false},
                      PresetFolderRow{"installed: the data folder", Holds::None, Holds::All,
                                      "share/quillmere", false},
                      PresetFolderRow{"both: the program's own folder first", Holds::All,
                                      Holds::All, "bin", false},
                      PresetFolderRow{"a stray file beside an installed program", Holds::Some,
                                      Holds::All, "share/quillmere", false},
                      PresetFolderRow{"only some anywhere: the folder that has them", Holds::None,
                                      Holds::Some, "share/quillmere", true},
                      PresetFolderRow{"none anywhere: the program's folder, and a message",
                                      Holds::None, Holds::None, "bin", true}),
    testing::RowName());

}  // namespace
}  // namespace quill
