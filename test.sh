#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing for building and testing, builds everything and
# runs the whole test suite headless.
# Extra arguments go to cmake, e.g. ./test.sh -DZAM_SANITIZE=ON (uses build-sanitize/).
set -u
cd "$(dirname "$0")"
source scripts/setup.sh
build=build
for a in "$@"; do
  [ "$a" = "-DZAM_SANITIZE=ON" ] && build=build-sanitize
done
# apt's, CMake's and Ninja's own output goes to the log, shown when a step fails.
mkdir -p "$build"
export ZAM_LOG=$build/build.log
: > "$ZAM_LOG"
echo "== building in $build/; the full output goes to $ZAM_LOG"
zam_install "${ZAM_RUN_PACKAGES[@]}" "${ZAM_TEST_PACKAGES[@]}" || exit $?
zam_step "$ZAM_LOG" "configuring" \
  zam_configure "$build" -DCMAKE_BUILD_TYPE=Release -DZAM_TESTS=ON -DZAM_BENCH=ON "$@" || exit 1
zam_step "$ZAM_LOG" "building the program, the tests and the benchmarks" zam_build "$build" || exit 1
export QT_QPA_PLATFORM=offscreen
cd "$build" && ctest --output-on-failure -j"$(nproc)"
