// SPDX-License-Identifier: MIT
// What a test does when it cannot work where it runs: with no display at all it is skipped,
// except under CI (CI=true), which always has one; on a display that cannot serve it, it
// fails. Either way at once, with the one line that says why.
#ifndef TESTS_STOP_H
#define TESTS_STOP_H

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "outcome.h"
#include "x_client.h"

namespace zbv::test {

inline bool onCi() {
  const char* ci = std::getenv("CI");
  return ci && std::strcmp(ci, "true") == 0;
}

}  // namespace zbv::test

// Stops the test unless the outcome (of what the test needs) worked.
#define ZBV_STOP_UNLESS(outcome)                                 \
  do {                                                           \
    const auto zbv_outcome_ = (outcome);                         \
    if (zbv_outcome_) break;                                     \
    if (!::zbv::test::onCi() && !::zbv::XClient().connected()) { \
      GTEST_SKIP() << zbv_outcome_.why();                        \
    }                                                            \
    GTEST_FAIL() << zbv_outcome_.why();                          \
  } while (0)

#endif  // TESTS_STOP_H
