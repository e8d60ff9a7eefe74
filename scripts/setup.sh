#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing.
# Qt 6 Widgets (qt6-base-dev) is always installed: the desktop program and its tests
# are part of every build.
set -euo pipefail

packages=(build-essential cmake ninja-build pkg-config libxml2-dev libcli11-dev
          libgtest-dev libgmock-dev libbenchmark-dev libpng-dev clang libclang-rt-14-dev
          qt6-base-dev dpkg-dev)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
