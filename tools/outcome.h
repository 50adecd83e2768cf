// SPDX-License-Identifier: MIT
// The one way the harness reports failure: a call that can fail returns an Outcome, which
// holds either what it made or one line on why it could not. Outcome<> holds nothing more
// than that it worked.
#ifndef TOOLS_OUTCOME_H
#define TOOLS_OUTCOME_H

#include <optional>
#include <string>
#include <utility>

namespace zbv {

// What a call gives back when it could not do its job: why, in one line.
struct Failure {
  std::string why;
};

// The value of an Outcome<> that worked.
struct Done {};

template <typename T = Done>
class [[nodiscard]] Outcome {
 public:
  Outcome(T value) : value_(std::move(value)) {}
  Outcome(Failure failure) : why_(std::move(failure.why)) {
    if (why_.empty()) why_ = "failed, and did not say why";
  }

  bool ok() const { return value_.has_value(); }
  explicit operator bool() const { return ok(); }
  // Why it failed; empty when it worked.
  const std::string& why() const { return why_; }
  // The value; only when ok().
  const T& operator*() const& { return *value_; }
  T& operator*() & { return *value_; }
  T&& operator*() && { return std::move(*value_); }
  const T* operator->() const { return &*value_; }

 private:
  std::optional<T> value_;
  std::string why_;
};

}  // namespace zbv

#endif  // TOOLS_OUTCOME_H
