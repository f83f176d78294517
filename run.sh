#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what playing needs, builds the program and starts Zam games.
# Extra arguments go to the program (zam --help lists them).
set -u
cd "$(dirname "$0")"
source scripts/setup.sh
# One line per step on the screen; apt's, CMake's and Ninja's own output goes
# to the log, shown when a step fails.
mkdir -p build
export ZAM_LOG=build/build.log
: > "$ZAM_LOG"
echo "== building in build/; the full output goes to $ZAM_LOG"
zam_install "${ZAM_RUN_PACKAGES[@]}" || exit $?
# The program with what installing it needs (its icons, the compressed
# manual pages), not the tests and benchmarks: those come with ./test.sh.
zam_step "$ZAM_LOG" "configuring" zam_configure build -DCMAKE_BUILD_TYPE=Release || exit 1
zam_step "$ZAM_LOG" "building the program, its icons and manual pages" \
  zam_build build zam icons compressed || exit 1
echo "== starting Zam games (cmake --install build installs it)"
# The score file lives in the current folder; play from the project folder.
exec ./build/zam "$@"
