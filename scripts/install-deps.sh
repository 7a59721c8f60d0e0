#!/usr/bin/env bash
# Installs the Debian packages greetcard needs to build, test and run, when
# any of them is missing. Uses sudo when not run as root.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev libvulkan-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-dejavu-core
  xvfb xdotool x11-utils x11-apps imagemagick
  clang libclang-rt-14-dev valgrind
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
