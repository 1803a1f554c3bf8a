#include "app/remembered.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <cmath>
#include <cstdio>

#include "app/animation_window.h"
#include "app/control_panel.h"
#include "app/map_canvas.h"
#include "app/map_editor.h"
#include "app/maths_report_window.h"
#include "app/picture_dialog.h"
#include "app/qt_dialogs.h"
#include "core/document/document.h"

namespace quill {

namespace {

void warn(const QString& message) {
  std::fprintf(stderr, "Quillmere: %s\n", message.toLocal8Bit().constData());
}

// The tool windows by the key they are kept under, with how the panel opens each.
struct ToolWindow {
  const char* key;
  QWidget* (*window)(ControlPanel&);
  void (ControlPanel::*open)();
};

const ToolWindow kToolWindows[] = {
    {"mapEditor", [](ControlPanel& panel) -> QWidget* { return panel.mapEditor(); },
     &ControlPanel::openMapEditor},
    {"mathsReport", [](ControlPanel& panel) -> QWidget* { return panel.mathsReport(); },
     &ControlPanel::openMathsReport},
    {"renderPicture", [](ControlPanel& panel) -> QWidget* { return panel.pictureDialog(); },
     &ControlPanel::openPictureDialog},
    {"animation", [](ControlPanel& panel) -> QWidget* { return panel.animationWindow(); },
     &ControlPanel::openAnimationWindow},
};

QString key(const char* group, const char* name) {
  return QStringLiteral("%1/%2").arg(QLatin1String(group), QLatin1String(name));
}

}  // namespace

Remembered::Remembered(const QString& path)
    : settings_(std::make_unique<QSettings>(path, QSettings::IniFormat)) {
  if (!QFileInfo::exists(path)) return;
  if (settings_->status() != QSettings::NoError) {
    warn(QStringLiteral("the settings in %1 cannot be read; starting without them.").arg(path));
    settings_->clear();
    return;
  }
  bool number = false;
  const int version = settings_->value(QStringLiteral("format/version")).toInt(&number);
  if (!number || version < 1) {
    warn(QStringLiteral("the settings in %1 are damaged; starting without them.").arg(path));
    settings_->clear();
  } else if (version > kVersion) {
    warn(QStringLiteral("the settings in %1 were written by a newer Quillmere (version %2); "
                        "starting without them, and leaving them as they are.")
             .arg(path)
             .arg(version));
    usable_ = false;
  }
}

Remembered::~Remembered() = default;

QString Remembered::defaultPath() {
  return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
         QStringLiteral("/quillmere.ini");
}

void Remembered::restore(ControlPanel& panel, QtDialogs* dialogs, Document& document) {
  if (!usable_) return;
  QSettings& in = *settings_;
  document.fitImports = in.value(QStringLiteral("import/fit"), document.fitImports).toBool();
  if (dialogs != nullptr) {
    dialogs->setStartingNames(in.value(QStringLiteral("dialogs/names")).toStringList());
  }
  QList<RecentFile> recent;
  const int count = in.beginReadArray(QStringLiteral("recentFiles"));
  for (int i = 0; i < count; ++i) {
    in.setArrayIndex(i);
    const QString path = in.value(QStringLiteral("path")).toString();
    if (!path.isEmpty()) recent.append({path, in.value(QStringLiteral("entry")).toString()});
  }
  in.endArray();
  panel.recentFiles().setFiles(recent);

  for (const ToolWindow& tool : kToolWindows) {
    if (!in.value(key("windows", tool.key) + QStringLiteral("Open")).toBool()) continue;
    (panel.*tool.open)();
    tool.window(panel)->restoreGeometry(in.value(key("windows", tool.key)).toByteArray());
  }
  // Render Picture's settings wait in its window, made and kept hidden when it was closed.
  if (!panel.pictureDialog() && in.childGroups().contains(QStringLiteral("renderPicture"))) {
    panel.openPictureDialog();
    panel.pictureDialog()->hide();
  }
  if (PictureDialog* picture = panel.pictureDialog()) {
    in.beginGroup(QStringLiteral("renderPicture"));
    picture->restoreSettings(in);
    in.endGroup();
  }
  if (MapEditor* editor = panel.mapEditor()) {
    bool x = false;
    bool y = false;
    bool s = false;
    const QPointF centre(in.value(QStringLiteral("mapEditor/centreX")).toDouble(&x),
                         in.value(QStringLiteral("mapEditor/centreY")).toDouble(&y));
    const double scale = in.value(QStringLiteral("mapEditor/pixelsPerUnit")).toDouble(&s);
    if (x && y && s && std::isfinite(centre.x()) && std::isfinite(centre.y()) && scale > 0 &&
        std::isfinite(scale)) {
      editor->canvas()->setView(centre, scale);
    }
    bool limit = false;
    const int seconds = in.value(QStringLiteral("mapEditor/fitSeconds")).toInt(&limit);
    if (limit) editor->setFitSeconds(seconds);
  }
}

void Remembered::save(ControlPanel& panel, const QtDialogs* dialogs, const Document& document) {
  if (!usable_) return;
  QSettings& out = *settings_;
  out.setValue(QStringLiteral("format/version"), kVersion);
  out.setValue(QStringLiteral("import/fit"), document.fitImports);
  if (dialogs != nullptr) out.setValue(QStringLiteral("dialogs/names"), dialogs->startingNames());
  out.beginWriteArray(QStringLiteral("recentFiles"));
  const QList<RecentFile>& recent = panel.recentFiles().files();
  for (int i = 0; i < recent.size(); ++i) {
    out.setArrayIndex(i);
    out.setValue(QStringLiteral("path"), recent[i].path);
    out.setValue(QStringLiteral("entry"), recent[i].entry);
  }
  out.endArray();
  for (const ToolWindow& tool : kToolWindows) {
    QWidget* window = tool.window(panel);
    out.setValue(key("windows", tool.key) + QStringLiteral("Open"),
                 window != nullptr && window->isVisible());
    if (window != nullptr) out.setValue(key("windows", tool.key), window->saveGeometry());
  }
  if (PictureDialog* picture = panel.pictureDialog()) {
    out.beginGroup(QStringLiteral("renderPicture"));
    picture->saveSettings(out);
    out.endGroup();
  }
  if (MapEditor* editor = panel.mapEditor()) {
    const MapCanvas* canvas = editor->canvas();
    const QPointF centre = canvas->toUnit(QPointF(canvas->width(), canvas->height()) / 2);
    out.setValue(QStringLiteral("mapEditor/centreX"), centre.x());
    out.setValue(QStringLiteral("mapEditor/centreY"), centre.y());
    out.setValue(QStringLiteral("mapEditor/pixelsPerUnit"), canvas->pixelsPerUnit());
    out.setValue(QStringLiteral("mapEditor/fitSeconds"), editor->fitSeconds());
  }
  out.sync();
  if (out.status() != QSettings::NoError) {
    warn(QStringLiteral("the settings could not be written to %1.").arg(out.fileName()));
  }
}

}  // namespace quill
