#!/usr/bin/env bash
# Installs what packaging needs, builds the game's Debian package with debhelper (debian/) and
# prints the package file's path as the last line.
#   scripts/package.sh
#   KORVANTA_DIST=<folder>   where the package goes (default: dist/ in the repository)
#
# The build runs in a scratch copy of the tree: dpkg-buildpackage writes its build folder and
# debhelper's state into debian/, and the package itself into the folder above the source.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dist=${KORVANTA_DIST:-$root/dist}
case "$dist" in
  /*) ;;
  *) dist="$(pwd)/$dist" ;;
esac
"$root/scripts/install-deps.sh"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
source="$scratch/korvanta"
mkdir "$source"
# Everything but what builds and runs leave behind (the ignored build*/, run/, dist/) and git.
(cd "$root" && find . -mindepth 1 -maxdepth 1 ! -name .git ! -name 'build*' ! -name run ! -name dist \
  -exec cp -a {} "$source/" \;)

(cd "$source" && DEB_BUILD_OPTIONS="parallel=$(nproc) noddebs ${DEB_BUILD_OPTIONS:-}" dpkg-buildpackage -b -us -uc)

version=$(cd "$source" && dpkg-parsechangelog -S Version)
arch=$(dpkg-architecture -q DEB_HOST_ARCH)
package="korvanta_${version#*:}_${arch}.deb"
mkdir -p "$dist"
cp "$scratch/$package" "$dist/$package"
echo "$dist/$package"
