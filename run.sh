#!/usr/bin/env bash
# Installs what playing needs, builds the program and starts Zam games.
# Extra arguments go to the program (zam --help lists them).
set -u
cd "$(dirname "$0")"
source scripts/setup.sh
zam_install "${ZAM_RUN_PACKAGES[@]}" || exit $?
# Only the program: the tests and benchmarks come with ./test.sh.
zam_configure build -DCMAKE_BUILD_TYPE=Release
zam_build build zam
# The score file lives in the current folder; play from the project folder.
exec ./build/zam "$@"
