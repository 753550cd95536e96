#!/usr/bin/env bash
# The whole test suite: installs what is missing, builds the game with its tests and tools, runs
# every test once. Each X test starts its own 24-bit Xvfb, so no display is needed.
#   scripts/test.sh              plain build in build/
#   scripts/test.sh --sanitize   AddressSanitizer and UndefinedBehaviorSanitizer build in build-asan/
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
folder=build
options=(-DKORVANTA_TESTS=ON)
if [ "${1:-}" = "--sanitize" ]; then
  folder=build-asan
  options+=(-DKORVANTA_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi
"$root/scripts/build.sh" "$folder" "${options[@]}"
cd "$root/$folder"
# No case is tried twice: one that fails once is a fault to mend, in the game or in the test.
ctest --output-on-failure -j "$(nproc)"
