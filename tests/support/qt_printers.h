#pragma once

#include <QString>
#include <QStringList>
#include <ostream>

// Readable gtest failure output for Qt's strings (gtest finds PrintTo by argument lookup).
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& list, std::ostream* out) {
  *out << '[' << list.join(QStringLiteral("\", \"")).prepend(u'"').append(u'"').toStdString()
       << ']';
}
