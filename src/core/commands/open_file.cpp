#include "core/commands/open_file.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "core/commands/ifs_commands.h"
#include "core/commands/load_save.h"
#include "core/commands/open_picture.h"
#include "core/commands/show_if_failed.h"
#include "core/document/document.h"
#include "core/editor/panel_step.h"
#include "core/picture/picture_carrier.h"

namespace quill {

OpenedFile openedFileKind(const QString& path) {
  if (looksLikePicture(path)) return OpenedFile::Picture;
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == u"png" || suffix == u"svg") return OpenedFile::Picture;  // says what it lacks
  if (suffix == u"ifs") return OpenedFile::Ifs;
  return OpenedFile::Parameters;
}

namespace {

// A folder, a FIFO or a device given as a file to open: the readers would wait on a FIFO.
Status checkRegularFile(const QString& path) {
  const QFileInfo info(path);
  if (info.exists() && !info.isFile()) {
    return Failure{QStringLiteral("%1 is not a file that can be opened.").arg(path)};
  }
  return {};
}

}  // namespace

Status openFileFrom(Document& document, const QString& path) {
  if (const Status regular = checkRegularFile(path); !regular) return regular;
  switch (openedFileKind(path)) {
    case OpenedFile::Picture: {
      const Result<PictureRecord> record = openPictureFrom(document, path);
      if (!record) return Failure{record.message()};
      return {};
    }
    case OpenedFile::Ifs: {
      const Result<std::vector<IfsEntry>> entries = readIfsFile(path);
      if (!entries) return Failure{entries.message()};
      if (entries->empty())
        return Failure{QCoreApplication::translate("Messages", "The file holds no entry.")};
      return loadIfsEntry(document, entries->front(), document.fitImports);
    }
    case OpenedFile::Parameters:
      break;
  }
  return loadParametersFrom(document, path);
}

Status openIfsEntryFrom(Document& document, const QString& path, const QString& entry) {
  const Result<std::vector<IfsEntry>> entries = readIfsFile(path);
  if (!entries) return Failure{entries.message()};
  const IfsEntry* found = findEntry(*entries, entry);
  if (found == nullptr)
    return Failure{
        QCoreApplication::translate("Messages", "The file has no entry named %1.").arg(entry)};
  return loadIfsEntry(document, *found, document.fitImports);
}

std::optional<OpenedFile> openFile(Document& document, const QString& path) {
  const OpenedFile kind = openedFileKind(path);
  if (const Status regular = checkRegularFile(path); !regular) {
    document.dialogs.message(regular.message());
    return std::nullopt;
  }
  if (kind == OpenedFile::Ifs) {
    // The chooser for several entries; the command shows its own failures.
    const PanelSnapshot before = PanelSnapshot::of(document.state);
    importIfsFrom(document, path);
    if (PanelSnapshot::of(document.state) == before) return std::nullopt;
    return kind;
  }
  const Status opened = openFileFrom(document, path);
  showIfFailed(document.dialogs, opened);
  if (!opened) return std::nullopt;
  return kind;
}

}  // namespace quill
