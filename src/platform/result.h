#pragma once
// Failures are values: a Result holds either the value or an Error whose
// reason a person can read ("the disk is full"). Nothing throws across a
// layer; callers decide what the author is told.
#include <string>
#include <utility>
#include <variant>

namespace vexmar {

// What kind of failure it was, for callers that react differently or report
// a number with it; the reason is what a person reads.
enum class ErrorKind { Other, NotFound, AccessDenied, ReadOnly, InUse, DiskFull, NotAFolder };

struct Error {
  std::string reason;
  ErrorKind kind = ErrorKind::Other;
  // The file the failure came from, where a call that reads several files
  // failed on one of them (a source of the e-book); empty otherwise.
  std::string file = {};
};

inline Error Fail(std::string reason, ErrorKind kind = ErrorKind::Other) {
  return Error{std::move(reason), kind, {}};
}

template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : state_(std::move(value)) {}      // NOLINT: implicit on purpose
  Result(Error error) : state_(std::move(error)) {}  // NOLINT

  bool ok() const { return state_.index() == 0; }
  explicit operator bool() const { return ok(); }
  T& value() & { return std::get<0>(state_); }
  const T& value() const& { return std::get<0>(state_); }
  T&& value() && { return std::get<0>(std::move(state_)); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  const Error& error() const { return std::get<1>(state_); }

 private:
  std::variant<T, Error> state_;
};

template <>
class [[nodiscard]] Result<void> {
 public:
  Result() = default;
  Result(Error error) : error_(std::move(error)), failed_(true) {}  // NOLINT

  bool ok() const { return !failed_; }
  explicit operator bool() const { return ok(); }
  const Error& error() const { return error_; }

 private:
  Error error_;
  bool failed_ = false;
};

using Status = Result<void>;

// For a clean-up step whose failure changes nothing the caller could do,
// such as removing a temporary file that may not exist.
inline void IgnoreFailure(const Status&) {}

}  // namespace vexmar
