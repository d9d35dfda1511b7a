#ifndef LAUNCHER_PLATFORM_RESULT_H_
#define LAUNCHER_PLATFORM_RESULT_H_

#include <cstdlib>
#include <type_traits>
#include <utility>

#include "platform/failure.h"

namespace platform {

// Reading the side of a Status or Result that it does not hold is a bug in
// the launcher, never a condition of the machine: it stops the program.
[[noreturn]] inline void ResultMisused() { std::abort(); }

// Success, or a Failure. Success costs one null pointer; only a failure is
// allocated, once, and handed up by moving that pointer. A Status that is
// made and never looked at does not compile (with warnings as errors): a
// failure is dropped only by IgnoreFailure().
class [[nodiscard, gnu::warn_unused]] Status {
 public:
  Status() = default;
  Status(Failure failure);
  Status(Status&& other) noexcept : failure_(other.failure_) { other.failure_ = nullptr; }
  Status& operator=(Status&& other) noexcept {
    std::swap(failure_, other.failure_);
    return *this;
  }
  Status(const Status&) = delete;
  Status& operator=(const Status&) = delete;
  // Out of line, as is the constructor from a Failure: they are the costly
  // part, and a Status is made and ended at almost every call.
  ~Status() {
    if (failure_ != nullptr) Discard(failure_);
  }

  bool ok() const { return failure_ == nullptr; }

  // The failure; only for a Status that is not ok().
  const Failure& failure() const {
    if (ok()) ResultMisused();
    return *failure_;
  }
  // The failure as a Status of its own, to hand it up; only for a Status
  // that is not ok(), which is ok() afterwards.
  Status TakeFailure() {
    if (ok()) ResultMisused();
    return std::move(*this);
  }
  // Says, at a guard, that the failure is not wanted.
  void IgnoreFailure() const {}

 private:
  static void Discard(Failure* failure);

  Failure* failure_ = nullptr;
};

// A value of type T, or a Failure. Converts implicitly from a T (or what
// makes one), from a Failure and from a failed Status, so that a procedure
// gives back either with a plain "return". A failed Result holds an empty T
// (T must have one), never read: cheaper than knowing whether it holds one.
template <typename T>
class [[nodiscard, gnu::warn_unused]] Result {
 public:
  template <typename U = T,
            std::enable_if_t<std::is_convertible_v<U&&, T> &&
                                 !std::is_same_v<std::remove_cvref_t<U>, Failure> &&
                                 !std::is_same_v<std::remove_cvref_t<U>, Status> &&
                                 !std::is_same_v<std::remove_cvref_t<U>, Result>,
                             int> = 0>
  Result(U&& value) : value_(std::forward<U>(value)) {}
  Result(Failure failure) : status_(std::move(failure)) {}
  // Only a failed Status makes a Result: an ok one has no value to give.
  Result(Status&& status) : status_(std::move(status)) {
    if (status_.ok()) ResultMisused();
  }
  Result(Result&&) noexcept = default;
  Result& operator=(Result&&) noexcept = default;

  bool ok() const { return status_.ok(); }

  // The value; only for a Result that is ok().
  T& operator*() & { return Value(); }
  const T& operator*() const& { return const_cast<Result*>(this)->Value(); }
  T&& operator*() && { return std::move(Value()); }
  T* operator->() { return &Value(); }
  const T* operator->() const { return &const_cast<Result*>(this)->Value(); }

  const Failure& failure() const { return status_.failure(); }
  Status TakeFailure() { return status_.TakeFailure(); }
  void IgnoreFailure() const {}

 private:
  T& Value() {
    if (!ok()) ResultMisused();
    return value_;
  }

  Status status_;
  T value_{};
};

}  // namespace platform

#endif  // LAUNCHER_PLATFORM_RESULT_H_
