#!/usr/bin/env bash
# Builds and runs the benchmarks: one watch tick natively over a scripted system
# (the three listings, with the program's own work per process and the opens a
# tick), under Wine the real tick against the snapshot and process-by-process
# listings' ticks and against the bare process information query, with what the
# process holds before and after, and the reaction of the real Tarnwick.exe to
# foreground switches.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
for preset in native windows; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$(nproc)"
done
build/native/bench/watch_tick_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
scripts/wine-session.sh wine build/windows/watch_tick_wine.exe
scripts/wine-session.sh wine build/windows/foreground_reaction_wine.exe
