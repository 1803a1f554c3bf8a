#pragma once

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace quill::testing {

// One run of quillmere-render: its exit status (-1 when it crashed or did not end in time) and
// what it wrote to standard error and standard output.
struct ToolRun {
  int status = -1;
  QString errors;
  QString output;
};

inline ToolRun runRender(const QStringList& arguments, int timeoutMs = 300000) {
  QProcess process;
  process.start(QStringLiteral(QUILLMERE_RENDER_BIN), arguments);
  const bool ended = process.waitForFinished(timeoutMs);
  return {ended && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          QString::fromLocal8Bit(process.readAllStandardError()),
          QString::fromLocal8Bit(process.readAllStandardOutput())};
}

// The bytes of the file at `path`; none when it cannot be read.
inline QByteArray fileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace quill::testing
