#!/usr/bin/env bash
# Installs what the build needs, builds, and installs the game under a prefix (default
# /usr/local; with sudo when that is not writable). DESTDIR is honoured for staging a package.
#   scripts/install.sh [PREFIX]
#   KORVANTA_BUILD=<folder>   build folder under the repository to use (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
prefix=${1:-/usr/local}
folder=${KORVANTA_BUILD:-build}
case "$prefix" in
  /*) ;;
  *) prefix="$(pwd)/$prefix" ;;
esac
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$folder"

# The deepest folder of the target that exists already decides whether sudo is needed.
target="${DESTDIR:-}$prefix"
existing=$target
while [ ! -e "$existing" ]; do existing=$(dirname "$existing"); done
sudo=""
if [ ! -w "$existing" ] && [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
$sudo env DESTDIR="${DESTDIR:-}" cmake --install "$root/$folder" --prefix "$prefix"

# Menus find a new icon only once the theme's cache knows it, where the theme keeps one. A staged
# tree is left without a cache: the package built from it refreshes the real one on installation.
hicolor="$target/share/icons/hicolor"
if [ -z "${DESTDIR:-}" ] && command -v gtk-update-icon-cache >/dev/null && [ -f "$hicolor/index.theme" ]; then
  $sudo gtk-update-icon-cache --quiet "$hicolor" || echo "Could not refresh the icon cache in $hicolor" >&2
fi
echo "Installed under $target; start the game with: $prefix/bin/korvanta"
