#include "core/maps/preset_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include "core/maps/pattern_catalogue.h"

namespace quill {

namespace {

// The installed data folder as seen from the installed program's folder; the build sets it from
// its install layout (bin and share/quillmere unless told otherwise).
#ifndef QUILLMERE_DATA_FROM_PROGRAM
#define QUILLMERE_DATA_FROM_PROGRAM "../share/quillmere"
#endif

int patternFilesIn(const QString& folder) {
  int found = 0;
  for (const PatternEntry& pattern : kPatterns) {
    if (!pattern.fileName.isEmpty() &&
        QFileInfo(QDir(folder).filePath(pattern.fileName)).isFile()) {
      ++found;
    }
  }
  return found;
}

int patternFileCount() {
  int count = 0;
  for (const PatternEntry& pattern : kPatterns) count += pattern.fileName.isEmpty() ? 0 : 1;
  return count;
}

}  // namespace

PresetFolder findPresetFolder(const QString& programFolder) {
  const QStringList folders = {
      QDir::cleanPath(programFolder),
      QDir::cleanPath(QDir(programFolder).filePath(QStringLiteral(QUILLMERE_DATA_FROM_PROGRAM)))};
  for (const QString& folder : folders) {
    if (patternFilesIn(folder) == patternFileCount()) return {folder, QString()};
  }
  for (const QString& folder : folders) {
    if (patternFilesIn(folder) > 0) {
      return {folder, QStringLiteral("Some pattern files are missing from %1; the patterns without "
                                     "one cannot be chosen.")
                          .arg(QDir::toNativeSeparators(folder))};
    }
  }
  return {folders.constFirst(),
          QStringLiteral("The pattern files were not found in %1 nor in %2; reinstall Quillmere "
                         "to choose a pattern.")
              .arg(QDir::toNativeSeparators(folders[0]), QDir::toNativeSeparators(folders[1]))};
}

}  // namespace quill
