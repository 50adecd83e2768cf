// SPDX-License-Identifier: MIT
#include "process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "wait.h"

namespace zbv {

Process::~Process() {
  stop();
  if (!log_.empty()) unlink(log_.c_str());
}

Outcome<> Process::start(const std::string& file, const std::vector<std::string>& argv,
                         const std::string& cwd, const std::vector<std::string>& env) {
  stop();
  if (!log_.empty()) unlink(log_.c_str());
  char path[] = "/tmp/zbv-output-XXXXXX";
  const int fd = mkstemp(path);
  if (fd < 0) return Failure{"cannot create a file for the output of " + file};
  log_ = path;
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_ = fork();
  if (pid_ == 0) {
    dup2(fd, 1);
    dup2(fd, 2);
    const int null = open("/dev/null", O_RDONLY);
    if (null >= 0) dup2(null, 0);
    for (const auto& e : env) {
      const auto eq = e.find('=');
      if (eq == std::string::npos)
        unsetenv(e.c_str());
      else
        setenv(e.substr(0, eq).c_str(), e.substr(eq + 1).c_str(), 1);
    }
    if (!cwd.empty() && chdir(cwd.c_str()) != 0) _exit(126);
    execv(file.c_str(), args.data());
    _exit(127);
  }
  ::close(fd);
  status_ = -1;
  if (pid_ <= 0) return Failure{"cannot start " + file};
  return Done{};
}

bool Process::running() {
  if (pid_ <= 0) return false;
  if (waitpid(pid_, &status_, WNOHANG) == pid_) {
    pid_ = -1;
    return false;
  }
  return true;
}

Outcome<> Process::waitExit(double seconds) {
  if (waitUntil(seconds, [this] { return !running(); })) return Done{};
  return Failure{"still running after " + std::to_string(seconds) + " s"};
}

void Process::stop() {
  if (running()) {
    kill(pid_, SIGTERM);
    if (!waitExit(5)) {
      kill(pid_, SIGKILL);
      (void)waitExit(5);  // after SIGKILL it ends; nothing more to do if not
    }
  }
}

std::string Process::output() const {
  std::ifstream in(log_, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Outcome<long> residentKiB(pid_t pid) {
  const std::string file = "/proc/" + (pid ? std::to_string(pid) : std::string("self")) + "/status";
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);)
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  return Failure{"no VmRSS line in " + file};
}

}  // namespace zbv
