#include "app/command_line.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <array>

#include "core/base/version.h"

namespace quill {

namespace {

struct ProgramOption {
  const char* names;  // "help,h": the long name first
  const char* help;
};

// The program's options: the parser reads these and --help lists them.
constexpr std::array<ProgramOption, 2> kProgramOptions = {{
    {"help,h", "print this help and exit"},
    {"version", "print the version and exit"},
}};

QStringList namesOf(const ProgramOption& option) {
  return QString::fromLatin1(option.names).split(u',');
}

}  // namespace

CommandLine readCommandLine(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  for (const ProgramOption& option : kProgramOptions) {
    parser.addOption(QCommandLineOption(namesOf(option)));
  }
  CommandLine line;
  if (!parser.parse(arguments)) {
    line.error = parser.errorText();
    return line;
  }
  line.help = parser.isSet(QStringLiteral("help"));
  line.version = !line.help && parser.isSet(QStringLiteral("version"));
  line.files = parser.positionalArguments();
  return line;
}

QString programHelpText() {
  QString text = QStringLiteral(
      "Usage: quillmere [OPTION]... [FILE]...\n"
      "\n"
      "Draws fractals defined by an iterated function system: type up to ten affine maps\n"
      "into the panel's grid, compute one from scale factors and angles, or pick a\n"
      "pattern; then draw them as a \"Blue Print\", as the deterministic \"Fractal\" or by\n"
      "the \"Chaos Game\".\n"
      "\n"
      "Each FILE opens as if dropped on the panel: a parameter file, an .ifs file (its\n"
      "entries to choose from) or a PNG or SVG picture Quillmere wrote.\n"
      "\n"
      "Options:\n");
  for (const ProgramOption& option : kProgramOptions) {
    const QStringList names = namesOf(option);
    QString shown = QStringLiteral("  --") + names.constFirst();
    for (qsizetype i = 1; i < names.size(); ++i) shown += QStringLiteral(", -") + names[i];
    text += shown.leftJustified(24) + QString::fromLatin1(option.help) + u'\n';
  }
  text += QStringLiteral(
      "\n"
      "Qt's own options, such as -platform NAME and -style NAME, are read as well.\n");
  return text;
}

QString programVersionText() { return QStringLiteral("quillmere ") + programVersion() + u'\n'; }

}  // namespace quill
