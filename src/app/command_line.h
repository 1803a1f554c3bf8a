#pragma once

#include <QString>
#include <QStringList>

namespace quill {

// What the program's command line asks for, besides showing the panel.
struct CommandLine {
  bool help = false;
  bool version = false;
  QString error;      // a usage error, for standard error; empty when the line reads
  QStringList files;  // files to open: parameter files, .ifs files, pictures Quillmere wrote
};

// Reads the program's own options. Qt's options (-platform, -style ...) are taken out by
// QApplication first, so this reads QCoreApplication::arguments(); --help and --version are also
// read from the raw arguments before any window system is needed, so they work without a display.
// The other arguments are the files to open.
[[nodiscard]] CommandLine readCommandLine(const QStringList& arguments);

// The usage line and every option the program reads, with its help.
QString programHelpText();

// "quillmere 0.1".
QString programVersionText();

}  // namespace quill
