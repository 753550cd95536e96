#!/usr/bin/env bash
# Takes the README's screenshots again from the real game: builds, then plays the game under a
# private Xvfb and writes docs/screenshots/{title,playing,top-ten,about}.png. No display needed.
#   KORVANTA_BUILD=<folder>   build folder under the repository to use (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
folder=${KORVANTA_BUILD:-build}
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$folder" -DKORVANTA_TOOLS=ON
"$root/$folder/korvanta-screenshots" "$root/$folder/korvanta" "$root/$folder/Data" "$root/docs/screenshots"
