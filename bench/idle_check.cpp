// SPDX-License-Identifier: MIT
// idle_check VIEWER: starts the real viewer, lets it stand idle for five seconds and reports
// the CPU time it used meanwhile (it must be none: it draws only in answer to events), the
// frames it drew meanwhile, and its resident memory after start-up.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "session.h"

namespace {

// utime + stime of a process, in clock ticks.
long cpuTicks(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // Fields after the command name, which is in parentheses and may hold spaces.
  std::istringstream rest(stat.substr(stat.rfind(')') + 2));
  std::string field;
  long utime = 0, stime = 0;
  for (int i = 3; i <= 15 && rest >> field; ++i) {
    if (i == 14) utime = std::stol(field);
    if (i == 15) stime = std::stol(field);
  }
  return utime + stime;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s VIEWER\n", argv[0]);
    return 2;
  }
  zbv::XClient x;
  zbv::Session s(x);
  zbv::Outcome<> ready = x.connected();
  if (ready) ready = s.open({argv[1], {argv[1]}});
  if (ready) {
    if (const auto quiet = s.settled(); !quiet) ready = zbv::Failure{quiet.why()};
  }
  if (!ready) {
    std::fprintf(stderr, "idle_check: %s\n", ready.why().c_str());
    return 1;
  }
  x.drawnSince();
  const pid_t pid = s.process().pid();
  const long before = cpuTicks(pid);
  std::this_thread::sleep_for(std::chrono::seconds(5));
  const long ticks = cpuTicks(pid) - before;
  const bool drew = x.drawnSince();
  std::printf("idle for 5 s: %ld CPU ticks (of %ld a second), %s\n", ticks, sysconf(_SC_CLK_TCK),
              drew ? "drew frames" : "drew nothing");
  if (const auto kib = zbv::residentKiB(pid); kib)
    std::printf("resident memory after start-up: %ld KiB\n", *kib);
  return ticks == 0 && !drew ? 0 : 1;
}
