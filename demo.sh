#!/bin/sh
# Installs what is missing, builds, installs Brennix.so into ~/.vst and renders a demo
# (the built-in phrase played through the installed plug-in) to brennix-demo.wav.
set -e
cd "$(dirname "$0")"
tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)"
mkdir -p "$HOME/.vst"
cp build/Brennix.so "$HOME/.vst/Brennix.so"
echo "installed $HOME/.vst/Brennix.so"
build/tools/brennix-render --info "$HOME/.vst/Brennix.so" | head -n 12
build/tools/brennix-render "$HOME/.vst/Brennix.so" --out brennix-demo.wav
