#!/usr/bin/env bash
# Installs what is missing, builds and starts Zam games.
set -u
cd "$(dirname "$0")"
source scripts/setup.sh
zam_setup build -DCMAKE_BUILD_TYPE=Release
# The score file lives in the current folder; play from the project folder.
exec ./build/zam
