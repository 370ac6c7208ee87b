#!/usr/bin/env bash
# Builds the plug-ins in release and installs them where Linux hosts look for them:
# VST 3 bundles in ~/.vst3, the VST 2.4 library in ~/.vst.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
cmake -S . -B build/install -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DORVANE_TESTS=OFF -DORVANE_BENCH=OFF \
  -DORVANE_VST3_INSTALL_DIR="$HOME/.vst3" -DORVANE_VST2_INSTALL_DIR="$HOME/.vst" >/dev/null
cmake --build build/install -j "$(nproc)"
cmake --install build/install
