#pragma once
// Failures in the viewer are values: an Expected holds the value or a
// Problem whose text can go straight into a message box or onto the console.
#include <string>
#include <utility>
#include <variant>

namespace vexmar::viewer {

struct Problem {
  std::string message;
};

template <typename T>
class [[nodiscard]] Expected {
 public:
  Expected(T value) : state_(std::move(value)) {}            // NOLINT: implicit on purpose
  Expected(Problem problem) : state_(std::move(problem)) {}  // NOLINT

  bool ok() const { return state_.index() == 0; }
  explicit operator bool() const { return ok(); }
  const T& value() const { return std::get<0>(state_); }
  T& value() { return std::get<0>(state_); }
  const T* operator->() const { return &value(); }
  const std::string& message() const { return std::get<1>(state_).message; }

 private:
  std::variant<T, Problem> state_;
};

// Bytes in the ANSI code page of this machine to UTF-8. The Win32 build
// passes the system's converter; tests pass their own.
using AnsiDecoder = std::string (*)(std::string_view ansi);

}  // namespace vexmar::viewer
