// Waiting for a child process of a test, with a bound.
#pragma once

#include <signal.h>
#include <sys/wait.h>

#include <chrono>
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
