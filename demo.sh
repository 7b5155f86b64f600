#!/bin/sh
# Installs what is missing, builds, installs Brennix.so into ~/.vst and renders the
# demo piece (resources/demo/brennix-demo.mid, a walk through the factory programs)
# through the installed plug-in to brennix-demo.wav and a spectrogram of it to
# brennix-demo.png, both in this folder.
set -e
cd "$(dirname "$0")"
tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)"
mkdir -p "$HOME/.vst"
cp build/Brennix.so "$HOME/.vst/Brennix.so"
echo "installed $HOME/.vst/Brennix.so"
# The manual beside it; the manual button finds it unless the user chose another.
rm -rf "$HOME/.vst/Brennix-manual"
cp -r docs/manual "$HOME/.vst/Brennix-manual"
build/tools/brennix-settings --default "Help=$HOME/.vst/Brennix-manual" --default Language=en
echo "installed the manual in $HOME/.vst/Brennix-manual"
build/tools/brennix-render --info "$HOME/.vst/Brennix.so" | head -n 12
build/tools/brennix-render "$HOME/.vst/Brennix.so" --midi resources/demo/brennix-demo.mid \
  --out brennix-demo.wav --spectrogram brennix-demo.png
echo "listen to $(pwd)/brennix-demo.wav; its spectrogram is $(pwd)/brennix-demo.png"
