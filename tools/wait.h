// SPDX-License-Identifier: MIT
// The one polling loop of the harness: ask again every few milliseconds until the answer is
// yes or the time is up.
#ifndef TOOLS_WAIT_H
#define TOOLS_WAIT_H

#include <chrono>
#include <thread>

namespace zbv {

// Calls done() until it returns true, for at most the given seconds; returns its last answer.
// done() is asked at least once, and once more after the deadline has passed.
template <typename Done>
bool waitUntil(double seconds, Done&& done) {
  using Clock = std::chrono::steady_clock;
  const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                      std::chrono::duration<double>(seconds));
  for (;;) {
    const bool late = Clock::now() > end;
    if (done()) return true;
    if (late) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

}  // namespace zbv

#endif  // TOOLS_WAIT_H
