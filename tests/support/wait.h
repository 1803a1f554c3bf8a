#pragma once

#include <QDeadlineTimer>
#include <QTest>

namespace quill::testing {

// Lets the event loop run until `done` holds; false when the time ran out first.
template <typename Predicate>
bool waitUntil(Predicate done, int milliseconds = 5000) {
  QDeadlineTimer deadline(milliseconds);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QTest::qWait(10);
  }
  return true;
}

}  // namespace quill::testing
