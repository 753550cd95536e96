#!/usr/bin/env bash
# Removes what scripts/install.sh (or cmake --install) put under a prefix (default /usr/local),
# with sudo when that is not writable; DESTDIR is honoured. The players' own folders
# (~/.local/share/korvanta, with their top ten) are left alone.
#   scripts/uninstall.sh [PREFIX]
#   KORVANTA_BUILD=<folder>   build folder under the repository to use (default: build)
#
# The list of files comes from installing the same build into a scratch folder, so it always
# matches the install rules, whatever has happened to the build's install manifest since.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
prefix=${1:-/usr/local}
folder=${KORVANTA_BUILD:-build}
case "$prefix" in
  /*) ;;
  *) prefix="$(pwd)/$prefix" ;;
esac
if [ ! -f "$root/$folder/cmake_install.cmake" ]; then
  echo "uninstall: $root/$folder is not a configured build; run scripts/install.sh first" >&2
  exit 1
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
DESTDIR="$scratch" cmake --install "$root/$folder" --prefix "$prefix" >/dev/null

target="${DESTDIR:-}$prefix"
existing=$target
while [ ! -e "$existing" ]; do existing=$(dirname "$existing"); done
sudo=""
if [ ! -w "$existing" ] && [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi

(cd "$scratch$prefix" && find . ! -type d -print0) | while IFS= read -r -d '' path; do
  $sudo rm -f "$target/${path#./}"
done
# Folders of the game's own go too once empty (with the prefix ~/.local, share/korvanta is also
# the player's folder and keeps the top ten); shared ones such as share/icons stay.
(cd "$scratch$prefix" && find . -depth -type d -path '*/korvanta*' -print0) | while IFS= read -r -d '' path; do
  $sudo rmdir "$target/${path#./}" 2>/dev/null || true
done
# As scripts/install.sh did, tell the theme's icon cache that the icons are gone.
hicolor="$target/share/icons/hicolor"
if [ -z "${DESTDIR:-}" ] && command -v gtk-update-icon-cache >/dev/null && [ -f "$hicolor/index.theme" ]; then
  $sudo gtk-update-icon-cache --quiet "$hicolor" || echo "Could not refresh the icon cache in $hicolor" >&2
fi
echo "Removed Korvanta from $target"
