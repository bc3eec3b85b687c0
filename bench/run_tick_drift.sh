#!/usr/bin/env bash
# Runs the countdown, the idle window and the chained baseline side by side for SECONDS (default
# 600) while a busy loop keeps the other core loaded, and prints the three reports.
set -euo pipefail
seconds="${1:-600}"
build="${2:-$(cd "$(dirname "$0")/.." && pwd)/build/dev}"
bench="$build/bench/tick_drift_bench"

( end=$((SECONDS + seconds + 5)); while [ $SECONDS -lt $end ]; do :; done ) &
load=$!
trap 'kill $load 2>/dev/null || true' EXIT

"$bench" --mode engine --seconds "$seconds" &
engine=$!
"$bench" --mode chained --seconds "$seconds" &
chained=$!
"$bench" --mode idle --seconds "$seconds" &
idle=$!
wait "$engine" "$chained" "$idle"
