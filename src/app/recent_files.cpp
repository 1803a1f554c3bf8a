#include "app/recent_files.h"

#include <QFileInfo>

namespace quill {

void RecentFiles::add(const QString& path, const QString& entry) {
  const RecentFile file{QFileInfo(path).absoluteFilePath(), entry};
  files_.removeAll(file);
  files_.prepend(file);
  while (files_.size() > kMostFiles) files_.removeLast();
  emit changed();
}

void RecentFiles::setFiles(QList<RecentFile> files) {
  files_ = std::move(files);
  while (files_.size() > kMostFiles) files_.removeLast();
  emit changed();
}

}  // namespace quill
