#ifndef LAUNCHER_TESTS_FAILURE_MATCHERS_H_
#define LAUNCHER_TESTS_FAILURE_MATCHERS_H_

// gMock matchers for Status and Result: a miss prints the failure's number
// and description.
#include <gmock/gmock.h>

#include <ostream>

#include "platform/result.h"

namespace platform {

inline void PrintTo(const Failure& failure, std::ostream* out) {
  *out << "failure " << failure.number() << " (" << failure.description() << ")";
}

inline void PrintTo(const Status& status, std::ostream* out) {
  if (status.ok()) {
    *out << "ok";
  } else {
    PrintTo(status.failure(), out);
  }
}

template <typename T>
void PrintTo(const Result<T>& result, std::ostream* out) {
  if (result.ok()) {
    *out << "ok: " << ::testing::PrintToString(*result);
  } else {
    PrintTo(result.failure(), out);
  }
}

// A Status or Result that is ok.
MATCHER(Succeeds, negation ? "fails" : "succeeds") { return arg.ok(); }

// A Status or Result that failed with error number `number` (a number, or
// a matcher of one).
MATCHER_P(FailsWith, number,
          std::string(negation ? "does not fail" : "fails") + " with error that " +
              ::testing::DescribeMatcher<std::int32_t>(number)) {
  return !arg.ok() && ::testing::Matches(number)(arg.failure().number());
}

// A Result that is ok and whose value matches `value` (a value or a matcher).
MATCHER_P(Holds, value, std::string(negation ? "does not hold " : "holds ") +
                            ::testing::PrintToString(value)) {
  return arg.ok() && ::testing::ExplainMatchResult(value, *arg, result_listener);
}

}  // namespace platform

#endif  // LAUNCHER_TESTS_FAILURE_MATCHERS_H_
