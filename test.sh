#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite headless.
# Extra arguments go to cmake, e.g. ./test.sh -DZAM_SANITIZE=ON (uses build-sanitize/).
set -u
cd "$(dirname "$0")"
source scripts/setup.sh
build=build
for a in "$@"; do
  [ "$a" = "-DZAM_SANITIZE=ON" ] && build=build-sanitize
done
zam_setup "$build" -DCMAKE_BUILD_TYPE=Release "$@"
export QT_QPA_PLATFORM=offscreen
cd "$build" && ctest --output-on-failure -j"$(nproc)"
