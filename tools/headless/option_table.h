#pragma once

#include <QCommandLineOption>
#include <QString>
#include <QStringList>
#include <vector>

namespace quill::headless {

// One option of quillmere-render: what the parser accepts and what --help says of it.
struct OptionRow {
  QStringList names;  // the long name first, then any short one
  QString valueName;  // empty for an option without a value
  QString help;       // one paragraph, wrapped to the terminal's 80 columns by helpText()
};

// Every option of quillmere-render, in the order --help lists them. The parser takes its
// options from here, so --help, the parser and the tests that check the man page and the
// completions against --help cannot disagree.
const std::vector<OptionRow>& optionTable();

// The table's option of that long name, as the parser takes it; asserts that it exists.
QCommandLineOption tableOption(const QString& name);

// All of the table's options, for QCommandLineParser::addOptions.
QList<QCommandLineOption> tableOptions();

// The usage line, the table's options with their help, and the exit statuses.
QString helpText();

// The patterns of the pattern menu, "Sierpinski, Christmas Tree, ...".
QString patternNames();

// "quillmere-render 0.1".
QString versionText();

}  // namespace quill::headless
