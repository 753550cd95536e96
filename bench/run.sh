#!/usr/bin/env bash
# The benchmark in one command: builds the game with its traffic meter, the floor client and the
# driver into build-bench/, then measures everything under a private Xvfb, prints the table and
# writes it down. Exits with 1 when a budget is missed.
#   bench/run.sh           full run, written to bench/results.md
#   bench/run.sh --quick   short smoke check (CI), written to build-bench/results-quick.md
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
folder="$root/build-bench"
quick=()
output="$root/bench/results.md"
if [ "${1:-}" = "--quick" ]; then
  quick=(--quick)
  output="$folder/results-quick.md"
fi
"$root/scripts/install-deps.sh"
# The peer games are optional: without them the table has no peers' rows.
"$root/scripts/install-deps.sh" "$root/bench/peers.txt" || echo "The peer games could not be installed: measuring without them."
cmake -S "$root" -B "$folder" -DKORVANTA_BENCH=ON >/dev/null
# Only what the benchmark runs, at most two jobs: the machine is shared.
cmake --build "$folder" -j 2 --target korvanta korvanta-floor korvanta-idle-form korvanta-bench game-data >/dev/null
commit=$(git -C "$root" rev-parse --short HEAD 2>/dev/null || echo unknown)
if [ -n "$(git -C "$root" status --porcelain --untracked-files=no 2>/dev/null)" ]; then commit="$commit (with local changes)"; fi
exec "$folder/bench/korvanta-bench" "${quick[@]}" \
  --game "$folder/korvanta" --floor "$folder/bench/korvanta-floor" --idle-form "$folder/bench/korvanta-idle-form" \
  --data "$folder/Data" --output "$output" --commit "$commit"
