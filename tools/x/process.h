// SPDX-License-Identifier: MIT
// POSIX child processes for the harness: start one with its output collected, wait for it,
// end it; and the resident memory of any process.
#ifndef TOOLS_PROCESS_H
#define TOOLS_PROCESS_H

#include <sys/types.h>

#include <string>
#include <vector>

#include "outcome.h"

namespace zbv {

// A child process with its standard output and error collected in a file.
class Process {
 public:
  Process() = default;
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  // Runs file with argv (argv[0] as given, so the caller chooses the invocation path), in
  // cwd when not empty; each env entry "NAME=value" sets a variable, a bare "NAME" unsets it.
  Outcome<> start(const std::string& file, const std::vector<std::string>& argv,
                  const std::string& cwd = "", const std::vector<std::string>& env = {});
  pid_t pid() const { return pid_; }
  bool running();
  // Waits up to the timeout for the process to end by itself.
  Outcome<> waitExit(double seconds);
  // Ends the process (SIGTERM, then SIGKILL) if it still runs.
  void stop();
  int exitStatus() const { return status_; }  // as from waitpid
  std::string output() const;                 // everything it wrote so far

 private:
  pid_t pid_ = -1;
  int status_ = -1;
  std::string log_;
};

// Resident memory of a process (this one when pid is 0), in KiB.
Outcome<long> residentKiB(pid_t pid = 0);

}  // namespace zbv

#endif  // TOOLS_PROCESS_H
