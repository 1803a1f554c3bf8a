#pragma once

#include <QObject>
#include <QStringList>

class QWidget;

namespace quill {

// Takes files dropped on the windows it watches (and on their fields, which would otherwise take
// a file's name as text) and hands their paths on; other drags go to the widgets as before.
class FileDrop : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;

  // Files dropped on `widget` are opened.
  void watch(QWidget* widget);

 signals:
  void filesDropped(const QStringList& paths);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace quill
