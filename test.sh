#!/bin/sh
# Builds everything and runs the test suite.
set -e
cd "$(dirname "$0")"
tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)"
# The editor tests need an X server: without a display, start a private Xvfb.
if [ -z "$DISPLAY" ] && command -v Xvfb >/dev/null 2>&1; then
  number=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$number" 2>/dev/null &
  xvfb=$!
  trap 'kill $xvfb 2>/dev/null' EXIT
  for i in $(seq 100); do [ -s "$number" ] && break; sleep 0.1; done
  DISPLAY=":$(cat "$number")"
  export DISPLAY
  rm -f "$number"
fi
ctest --test-dir build --output-on-failure -j"$(nproc)"
