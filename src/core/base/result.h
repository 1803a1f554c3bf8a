#pragma once

#include <QString>
#include <optional>
#include <utility>

namespace quill {

// A failure the user caused or must hear about, carrying the very message the command that the
// user started will show. Nothing below a command shows a message itself.
struct Failure {
  QString message;
};

// A value, or the failure that stands in its place.
template <class T>
class [[nodiscard]] Result {
 public:
  Result(T value) : value_(std::move(value)) {}
  Result(Failure failure) : message_(std::move(failure.message)) {}

  bool ok() const { return value_.has_value(); }
  explicit operator bool() const { return ok(); }
  // The value; only when ok().
  const T& value() const { return *value_; }
  T& value() { return *value_; }
  const T& operator*() const { return *value_; }
  const T* operator->() const { return &*value_; }
  // The message to show; empty when ok().
  const QString& message() const { return message_; }

 private:
  std::optional<T> value_;
  QString message_;
};

// Success, or a failure with its message.
class [[nodiscard]] Status {
 public:
  Status() = default;
  Status(Failure failure) : failed_(true), message_(std::move(failure.message)) {}

  bool ok() const { return !failed_; }
  explicit operator bool() const { return ok(); }
  const QString& message() const { return message_; }

 private:
  bool failed_ = false;
  QString message_;
};

}  // namespace quill
