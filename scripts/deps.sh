#!/usr/bin/env bash
# Installs the Debian packages Veltrano needs to build, test and run; skips what
# is already there. Usage: scripts/deps.sh [extra-package ...]
set -euo pipefail
packages=(build-essential cmake ninja-build ccache
          qt6-base-dev qt6-base-dev-tools libqt6printsupport6 libgl-dev
          libgtest-dev libgmock-dev libbenchmark-dev
          libswe-dev swe-basic-data
          clang libclang-rt-14-dev
          libsqlite3-dev
          fonts-dejavu-core poppler-utils python3
          "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
