#!/usr/bin/env bash
# Shared set-up for run.sh and test.sh: installs the Debian packages a step
# needs (when running as root) and configures + builds the tree.
#
#   source scripts/setup.sh
#   zam_install PACKAGE...                     # missing ones only
#   zam_configure <build-dir> [extra cmake args...]
#   zam_build <build-dir> [target...]          # all targets when none given

# What building and playing needs.
ZAM_RUN_PACKAGES=(build-essential cmake ninja-build qt6-base-dev fonts-liberation2 fontconfig)
# What the tests and benchmarks add: GoogleTest, Google Benchmark, the
# validators of the desktop entry and metadata, the Debian package tools and
# lintian, a private X server with its resource and pointer tools for the
# high-density screen test, and for the screen reader test the D-Bus daemon,
# the accessibility bus (AT-SPI) and its Python client.
ZAM_TEST_PACKAGES=(libgtest-dev libbenchmark-dev desktop-file-utils appstream dpkg-dev
                   lintian xvfb x11-xserver-utils xdotool dbus at-spi2-core python3-pyatspi)

zam_missing_packages() {
  local missing=() p
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  echo "${missing[@]}"
}

zam_install() {
  local missing
  missing=$(zam_missing_packages "$@")
  [ -z "$missing" ] && return 0
  if [ "$(id -u)" -eq 0 ]; then
    echo "== installing: $missing"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq || return 1
    # shellcheck disable=SC2086
    apt-get install -y -qq --no-install-recommends $missing || return 1
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
  cmake -S "$root" -B "$build" -G Ninja "$@" || exit 1
}

zam_build() {
  local build=$1; shift
  local targets=()
  [ $# -gt 0 ] && targets=(--target "$@")
  cmake --build "$build" -j"$(nproc)" "${targets[@]}" || exit 1
}
