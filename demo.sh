#!/bin/sh
# Installs what is missing, builds, installs Brennix.so into ~/.vst and renders a demo.
set -e
cd "$(dirname "$0")"
tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)"
mkdir -p "$HOME/.vst"
cp build/Brennix.so "$HOME/.vst/Brennix.so"
echo "installed $HOME/.vst/Brennix.so"
build/tools/brennix-render --info "$HOME/.vst/Brennix.so" | head -n 12
