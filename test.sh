#!/usr/bin/env bash
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
zam_install "${ZAM_RUN_PACKAGES[@]}" "${ZAM_TEST_PACKAGES[@]}" || exit $?
zam_configure "$build" -DCMAKE_BUILD_TYPE=Release -DZAM_TESTS=ON -DZAM_BENCH=ON "$@"
zam_build "$build"
export QT_QPA_PLATFORM=offscreen
cd "$build" && ctest --output-on-failure -j"$(nproc)"
