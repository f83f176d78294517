#!/usr/bin/env bash
# Shared set-up for run.sh and test.sh: installs the Debian packages the build
# needs (when running as root) and configures + builds the tree.
#
#   source scripts/setup.sh; zam_setup <build-dir> [extra cmake args...]

ZAM_PACKAGES=(build-essential cmake ninja-build qt6-base-dev libgtest-dev
              libbenchmark-dev fonts-liberation2 fontconfig
              desktop-file-utils appstream dpkg-dev)

zam_missing_packages() {
  local missing=() p
  for p in "${ZAM_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  echo "${missing[@]}"
}

zam_install() {
  local missing
  missing=$(zam_missing_packages)
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

zam_setup() {
  local build=$1; shift
  zam_install || exit $?
  local root
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  cmake -S "$root" -B "$build" -G Ninja "$@" || exit 1
  cmake --build "$build" -j"$(nproc)" || exit 1
}
