#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and benchmark.
# Safe to run again: apt-get only installs what is missing.
set -euo pipefail

packages=(
  build-essential g++ clang lld cmake ninja-build pkg-config git
  libpng-dev zlib1g-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core fonts-dejavu-extra
  libgtest-dev libgmock-dev libbenchmark-dev libpixman-1-dev
  dpf-source fst-dev
  ardour qtractor sox zam-plugins lsp-plugins-vst
  python3 python3-numpy python3-scipy python3-cairo
  clang-format libclang-rt-14-dev binutils
  xvfb x11-utils xdotool libx11-dev libxext-dev libxtst-dev libxdamage-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
