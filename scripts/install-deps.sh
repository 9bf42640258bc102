#!/usr/bin/env bash
# Installs the Debian 12 packages Korvane needs to build, run and test, when any is missing.
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config
          qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev fonts-croscore
          libqt6sql6-sqlite qt6-charts-dev libqt6charts6 libqt6opengl6-dev
          libgtest-dev libgmock-dev libbenchmark-dev
          clang libclang-rt-14-dev)
if [ "${1:-}" = "--test" ]; then
    packages+=(xvfb xdotool imagemagick appstream dpkg-dev file desktop-file-utils man-db)
fi
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO="sudo"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
