#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Shared set-up for run.sh and test.sh: installs the Debian packages a step
# needs (when running as root) and configures + builds the tree.
#
#   source scripts/setup.sh
#   zam_install PACKAGE...                     # missing ones only (output to $ZAM_LOG if set)
#   zam_configure <build-dir> [extra cmake args...]
#   zam_build <build-dir> [target...]          # all targets when none given
#   zam_step <log> "what" COMMAND...           # one line on screen, output to the log

# What building and playing needs.
ZAM_RUN_PACKAGES=(build-essential cmake ninja-build qt6-base-dev fonts-liberation2 fontconfig)
# What the tests and benchmarks add: GoogleTest, Google Benchmark, the
# validators of the desktop entry and metadata, the Debian package tools
# (debhelper builds the package from debian/) and lintian, a private X
# server with its resource, pointer and window-property tools for the
# high-density screen test and the install test, and for the screen reader
# test the D-Bus daemon, the accessibility bus (AT-SPI) and its Python client.
ZAM_TEST_PACKAGES=(libgtest-dev libbenchmark-dev desktop-file-utils appstream dpkg-dev
                   debhelper lintian xvfb x11-xserver-utils x11-utils xdotool
                   dbus at-spi2-core python3-pyatspi)

zam_missing_packages() {
  local missing=() p
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  echo "${missing[@]}"
}

zam_apt_install() {
  apt-get update -qq && apt-get install -y -qq --no-install-recommends "$@"
}

zam_install() {
  local missing
  missing=$(zam_missing_packages "$@")
  [ -z "$missing" ] && return 0
  if [ "$(id -u)" -eq 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    # With a log (ZAM_LOG), apt's output goes there.
    if [ -n "${ZAM_LOG:-}" ]; then
      zam_step "$ZAM_LOG" "installing $missing" zam_apt_install $missing || return 1
    else
      echo "== installing: $missing"
      zam_apt_install $missing || return 1
    fi
  else
    echo "Missing packages: $missing"
    echo "Install them as root with:"
    echo "  sudo apt-get update && sudo apt-get install -y --no-install-recommends $missing"
    return 2
  fi
}

zam_configure() {
  local build=$1; shift
  local root
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  cmake -S "$root" -B "$build" -G Ninja "$@"
}

zam_build() {
  local build=$1; shift
  local targets=()
  [ $# -gt 0 ] && targets=(--target "$@")
  cmake --build "$build" -j"$(nproc)" "${targets[@]}"
}

# Runs one step with its whole output appended to the log file LOG, and
# says in one line what it does and how it ended; when it fails, the end of
# the log follows (all of it when short), and the step's status is returned.
#   zam_step LOG "what it does" COMMAND [ARG...]
zam_step() {
  local log=$1 what=$2 start status
  shift 2
  start=$(date +%s)
  printf '== %s ... ' "$what"
  "$@" >> "$log" 2>&1
  status=$?
  if [ "$status" -eq 0 ]; then
    echo "done ($(( $(date +%s) - start )) s)"
    return 0
  fi
  echo "FAILED"
  echo "== the last lines of $log:"
  tail -n 80 "$log"
  return "$status"
}
