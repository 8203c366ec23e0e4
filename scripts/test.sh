#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the portable
# logic natively and under the sanitizers, a short fuzzing run of every reader of
# outside data, then the Windows programs under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/check-layers.sh
scripts/check-resources.sh
jobs=$(nproc)

cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
ctest --preset native -j "$jobs"
# Under the sanitizers only what the tests run (the benchmarks are built above).
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs" --target unit_tests fuzz_harness
ctest --preset asan -j "$jobs"
# Every reader of outside data fuzzed briefly; any crash, hang or broken property fails.
scripts/fuzz.sh 10

cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs"
# Everything as a western system (code page 1252); what depends on the code page
# (names of programs and files, texts, the save and settings files) again as a
# Japanese one (code page 932).
scripts/wine-session.sh ctest --preset windows
LC_ALL=ja_JP.UTF-8 scripts/wine-session.sh ctest --preset windows -L codepage

# The release archive as a user gets it: its program imports only what every
# Windows has, its guide reads right on any Windows (UTF-8 with a byte-order mark),
# and unpacked it starts, and starts again, as a new user's does.
archive=$(scripts/package.sh | tail -n 1)
release=$(mktemp -d)
trap 'rm -rf "$release"' EXIT
unzip -q "$archive" -d "$release"
[ "$(head -c 3 "$release/README-ja.txt" | od -An -tx1 | tr -d ' ')" = efbbbf ] ||
  { echo "README-ja.txt does not start with the UTF-8 byte-order mark" >&2; exit 1; }
TARNWICK_EXE="Z:$(tr / '\\' <<<"$release/Tarnwick.exe")" \
  scripts/wine-session.sh ctest --preset windows -R '^e2e-start-up$'
