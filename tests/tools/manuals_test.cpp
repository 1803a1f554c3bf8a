#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include "support/row_name.h"

namespace quill {
namespace {

// The long options a program's --help lists: the names that open its option lines.
QSet<QString> helpOptions(const char* program) {
  QProcess process;
  process.start(QString::fromLocal8Bit(program), {QStringLiteral("--help")});
  EXPECT_TRUE(process.waitForFinished(60000));
  EXPECT_EQ(process.exitCode(), 0);
  const QString help = QString::fromLocal8Bit(process.readAllStandardOutput());
  QSet<QString> options;
  static const QRegularExpression line(QStringLiteral("^  --([a-z0-9-]+)"),
                                       QRegularExpression::MultilineOption);
  for (const QRegularExpressionMatch& match : line.globalMatch(help)) options << match.captured(1);
  return options;
}

QString readText(const QString& path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
  return QString::fromUtf8(file.readAll());
}

// Every long option a document names, found by the pattern's first capture; roff's escaped
// hyphens (\-) read as hyphens.
QSet<QString> documentOptions(const QString& path, const QString& pattern) {
  QString text = readText(path);
  text.replace(QStringLiteral("\\-"), QStringLiteral("-"));
  QSet<QString> options;
  const QRegularExpression option(pattern, QRegularExpression::MultilineOption);
  for (const QRegularExpressionMatch& match : option.globalMatch(text)) {
    options << match.captured(1);
  }
  return options;
}

struct ManualRow {
  const char* name;
  const char* program;   // whose --help is the reference
  const char* document;  // under data/
  const char* pattern;   // finds the options the document names
};

void PrintTo(const ManualRow& row, std::ostream* out) { *out << row.name; }

class ManualsFollowHelp : public ::testing::TestWithParam<ManualRow> {};

// A man page or a completion that misses an option of --help, or still names one that is gone,
// tells the user something the program no longer does.
TEST_P(ManualsFollowHelp, NameEveryOptionOfHelpAndNoOther) {
  const ManualRow& row = GetParam();
  const QSet<QString> help = helpOptions(row.program);
  ASSERT_FALSE(help.isEmpty());
  const QSet<QString> named =
      documentOptions(QStringLiteral(QUILLMERE_DATA_SOURCE "/") + QString::fromLatin1(row.document),
                      QString::fromLatin1(row.pattern));
  QStringList missing = (help - named).values();
  QStringList extra = (named - help).values();
  missing.sort();
  extra.sort();
  EXPECT_TRUE(missing.isEmpty()) << "not in " << row.document << ": "
                                 << missing.join(u' ').toStdString();
  EXPECT_TRUE(extra.isEmpty()) << "not in --help: " << extra.join(u' ').toStdString();
}

// Man pages: an option stands at the start of a roff request (.B, .BI, .BR, .RB ...).
constexpr char kRoffOption[] = R"(^\.[BIR]{1,2} (?:\( )?--([a-z0-9-]+))";

INSTANTIATE_TEST_SUITE_P(
    Manuals, ManualsFollowHelp,
    ::testing::Values(ManualRow{"quillmere man page", QUILLMERE_BIN, "man/quillmere.1.in",
                                kRoffOption},
                      ManualRow{"quillmere-render man page", QUILLMERE_RENDER_BIN,
                                "man/quillmere-render.1.in", kRoffOption},
                      ManualRow{"bash completion", QUILLMERE_RENDER_BIN,
                                "completions/quillmere-render.bash", R"(--([a-z0-9-]+))"},
                      ManualRow{"zsh completion", QUILLMERE_RENDER_BIN,
                                "completions/_quillmere-render", R"(--([a-z0-9-]+)[\[',}])"},
                      ManualRow{"fish completion", QUILLMERE_RENDER_BIN,
                                "completions/quillmere-render.fish", R"( -l ([a-z0-9-]+))"}),
    testing::RowName());

}  // namespace
}  // namespace quill
