// SPDX-License-Identifier: GPL-3.0-or-later
// Time from process start to the main window shown (offscreen), beside a
// bare Qt window of the same size and beside that window holding the same
// standard Qt controls. Each iteration starts a fresh process.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

extern char** environ;

namespace {

std::string probe;  // path of startup_probe

void Run(benchmark::State& state, const char* mode) {
  for (auto _ : state) {
    pid_t pid;
    char* args[] = {probe.data(), const_cast<char*>(mode), nullptr};
    if (posix_spawn(&pid, probe.c_str(), nullptr, nullptr, args, environ) != 0) {
      state.SkipWithError("cannot start startup_probe");
      return;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("startup_probe failed");
      return;
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::string self = argv[0];
  probe = self.substr(0, self.rfind('/') + 1) + "startup_probe";
  benchmark::Initialize(&argc, argv);
  benchmark::RegisterBenchmark("Startup/zam_main_window", Run, "zam")
      ->Unit(benchmark::kMillisecond)
      ->Iterations(10)
      ->Repetitions(5)
      ->ReportAggregatesOnly(true);
  benchmark::RegisterBenchmark("Startup/bare_qt_window", Run, "bare")
      ->Unit(benchmark::kMillisecond)
      ->Iterations(10)
      ->Repetitions(5)
      ->ReportAggregatesOnly(true);
  benchmark::RegisterBenchmark("Startup/bare_window_with_controls", Run, "controls")
      ->Unit(benchmark::kMillisecond)
      ->Iterations(10)
      ->Repetitions(5)
      ->ReportAggregatesOnly(true);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
