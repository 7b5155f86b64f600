#!/bin/sh
# Installs the Debian packages Brennix needs to build, test and render.
set -e
SUDO=""
[ "$(id -u)" = 0 ] || SUDO=sudo
PACKAGES="build-essential cmake pkg-config libpng-dev zlib1g-dev libcairo2-dev libx11-dev \
libgtest-dev libgmock-dev libbenchmark-dev libsndfile1-dev libxtst-dev xvfb xauth \
libfreetype-dev fonts-dejavu-core python3"
missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  $SUDO apt-get update
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing
fi
