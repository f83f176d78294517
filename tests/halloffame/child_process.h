// SPDX-License-Identifier: GPL-3.0-or-later
// Waiting for a child process of a test, with a bound.
#pragma once

#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

// Waits up to `seconds` for the child; kills it when it does not end. The
// status, or -1 after a kill.
inline int WaitFor(pid_t pid, double seconds) {
  using Clock = std::chrono::steady_clock;
  const auto end = Clock::now() + std::chrono::duration<double>(seconds);
  int status = 0;
  while (Clock::now() < end) {
    if (waitpid(pid, &status, WNOHANG) == pid) return status;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  kill(pid, SIGKILL);
  waitpid(pid, &status, 0);
  return -1;
}

// Waits up to `seconds` until the process catches `sig` (its handler is
// installed, as /proc/<pid>/status shows); false when it does not, or ends.
inline bool WaitUntilCatching(pid_t pid, int sig, double seconds = 60) {
  using Clock = std::chrono::steady_clock;
  const auto end = Clock::now() + std::chrono::duration<double>(seconds);
  while (Clock::now() < end) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    bool seen = false;
    while (std::getline(status, line))
      if (line.rfind("SigCgt:", 0) == 0) {
        seen = true;
        if ((std::stoull(line.substr(7), nullptr, 16) >> (sig - 1)) & 1) return true;
      }
    if (!seen) return false;  // gone
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}
