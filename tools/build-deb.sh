#!/usr/bin/env bash
# Builds the Debian package of the game from the committed source: the
# package and its build log land in build-deb/. Needs dpkg-dev, debhelper
# and the build dependencies of debian/control (installed when missing).
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/build-env.sh

ensure_packages dpkg-dev debhelper fakeroot lintian "${STAKKOR_GAME_PACKAGES[@]}"
out=build-deb
rm -rf "$out"
mkdir -p "$out/src"
# The committed tree only: no build directories or other local files.
git archive --format=tar HEAD | tar -x -C "$out/src"
(cd "$out/src" && dpkg-buildpackage -us -uc -b)
rm -rf "$out/src"
echo "lintian:"
lintian --fail-on error "$out"/stakkor_*.deb
ls -l "$out"/stakkor_*.deb
