#!/bin/sh
# Lets Ardour's own plug-in scanner load Brennix.so and prints what it recorded.
# Needs Debian's ardour package (not installed by the build scripts).
#   tools/check-ardour-scan.sh [path/to/Brennix.so]
set -e
plugin="$(realpath "${1:-build/Brennix.so}")"
scanner=/usr/lib/ardour7/ardour-vst-scanner
[ -x "$scanner" ] || { echo "no $scanner: apt-get install ardour" >&2; exit 2; }
cache="$HOME/.cache/ardour7/vst"
mkdir -p "$cache"
LD_LIBRARY_PATH=/usr/lib/ardour7 "$scanner" -f "$plugin"
grep -l "binary=\"$plugin\"" "$cache"/*.v2i | xargs cat
