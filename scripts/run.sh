#!/usr/bin/env bash
# Installs what is missing, builds, and starts the game on your display. The game runs in run/
# at the top of the repository, where its log, joystick settings and high scores persist.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" build
mkdir -p "$root/run"
cd "$root/run"
exec "$root/build/korvanta"
