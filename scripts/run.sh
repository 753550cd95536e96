#!/usr/bin/env bash
# Installs what is missing, builds the game and its data (nothing else: the tests and tools are
# options of their own), and starts the game on your display. The game runs in run/
# at the top of the repository, where its log, joystick settings and high scores persist; every
# run refreshes the sprite sheet and sounds there from the build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" >/dev/null
cmake --build "$root/build" -j "$(nproc)" --target korvanta game-data
mkdir -p "$root/run/Data"
# File by file, so the top ten kept under run/Data survives.
find "$root/build/Data" -maxdepth 1 -type f -exec cp -f {} "$root/run/Data/" \;
cd "$root/run"
exec "$root/build/korvanta"
