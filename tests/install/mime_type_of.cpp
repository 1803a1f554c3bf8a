// Prints the MIME type Qt's database gives each file named, one a line, as a file manager
// would see it: by name, then by content.

#include <QCoreApplication>
#include <QMimeDatabase>
#include <cstdio>

int main(int argc, char* argv[]) {
  QCoreApplication application(argc, argv);
  const QMimeDatabase database;
  for (int i = 1; i < argc; ++i) {
    const QString type = database.mimeTypeForFile(QString::fromLocal8Bit(argv[i])).name();
    std::printf("%s\n", type.toLocal8Bit().constData());
  }
  return 0;
}
