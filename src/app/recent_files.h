#pragma once

#include <QList>
#include <QObject>
#include <QString>

namespace quill {

// A file the user read or wrote: a parameter file, an .ifs file with the entry's name, a picture.
struct RecentFile {
  QString path;   // absolute
  QString entry;  // the .ifs entry; empty for other files
  bool operator==(const RecentFile&) const = default;
};

// "Tools" -> "Recent Files": the files used last, the latest first, each once.
class RecentFiles : public QObject {
  Q_OBJECT

 public:
  static constexpr int kMostFiles = 10;

  using QObject::QObject;

  // Puts the file first, taking it out of where it stood before; the oldest goes past kMostFiles.
  void add(const QString& path, const QString& entry = {});
  void setFiles(QList<RecentFile> files);
  const QList<RecentFile>& files() const { return files_; }

 signals:
  void changed();

 private:
  QList<RecentFile> files_;
};

}  // namespace quill
