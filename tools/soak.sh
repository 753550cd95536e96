#!/usr/bin/env bash
# The soak run: builds the game and the scripted player into a build folder and lets the player
# play the real game under a private Xvfb for a number of minutes (10 by default), then reports
# the game's resident memory, open descriptors, children, zombies and log lines at the start,
# every minute and at the end. Not part of the test suite. Needs root (or user namespaces): the
# game runs in a mount namespace of its own, with a FIFO as its joystick.
#   tools/soak.sh [minutes] [build folder]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
minutes=${1:-10}
folder=${2:-build}
cmake -S "$root" -B "$root/$folder" -DKORVANTA_TESTS=ON >/dev/null
cmake --build "$root/$folder" -j "$(nproc)" --target korvanta_soak >/dev/null
exec "$root/$folder/tests/fault/korvanta_soak" "$minutes"
