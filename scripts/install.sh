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
echo "Installed under $target; start the game with: $prefix/bin/korvanta"
