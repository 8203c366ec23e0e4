#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the portable
# logic natively and under the sanitizers, a short fuzzing run of every reader of
# outside data, then the Windows programs under Wine. At its end it prints the
# seconds that each phase took; `phase NAME COMMAND...` below names them.
set -euo pipefail
cd "$(dirname "$0")/.."

timings=()
phase() {
  local name=$1 started=$SECONDS
  shift
  "$@"
  timings+=("$(printf '%5d s  %s' $((SECONDS - started)) "$name")")
}
report() {
  echo "Seconds by phase:"
  printf '  %s\n' "${timings[@]}"
  echo "  $SECONDS s in all"
}
trap report EXIT

phase "install check" scripts/install-deps.sh
phase "layer and resource checks" bash -c 'scripts/check-layers.sh && scripts/check-resources.sh'
jobs=$(nproc)

cmake --preset native >/dev/null
phase "native build" cmake --build --preset native -j "$jobs"
phase "native tests" ctest --preset native -j "$jobs"
# Under the sanitizers only what the tests run (the benchmarks are built above).
cmake --preset asan >/dev/null
phase "sanitizer build" cmake --build --preset asan -j "$jobs" --target unit_tests fuzz_harness
phase "sanitizer tests" ctest --preset asan -j "$jobs"
# Every reader of outside data fuzzed briefly; any crash, hang or broken property fails.
phase "fuzzing" scripts/fuzz.sh 10

cmake --preset windows >/dev/null
phase "windows build" cmake --build --preset windows -j "$jobs"
# Everything as a western system (code page 1252) whose display language is
# Japanese, then the English interface on the same system with an English display
# language; what depends on the code page (names of programs and files, texts, the
# save and settings files) again as a Japanese system (code page 932).
western=(env -u LC_ALL -u LC_MESSAGES LANG=C.UTF-8)
phase "wine: western system" "${western[@]}" LC_MESSAGES=ja_JP.UTF-8 scripts/wine-session.sh ctest --preset windows -LE english
phase "wine: english interface" "${western[@]}" scripts/wine-session.sh ctest --preset windows -L english
phase "wine: japanese system" env LC_ALL=ja_JP.UTF-8 scripts/wine-session.sh ctest --preset windows -L codepage

# The release archive as a user gets it: its program imports only what every
# Windows has, its guides read right on any Windows (UTF-8 with a byte-order mark),
# and unpacked it starts, and starts again, as a new user's does.
release_check() {
  local archive release
  archive=$(scripts/package.sh | tail -n 1)
  release=$(mktemp -d)
  unzip -q "$archive" -d "$release"
  for guide in README-ja.txt README-en.txt; do
    [ "$(head -c 3 "$release/$guide" | od -An -tx1 | tr -d ' ')" = efbbbf ] ||
      { echo "$guide is missing or does not start with the UTF-8 byte-order mark" >&2; rm -rf "$release"; return 1; }
  done
  TARNWICK_EXE="Z:$(tr / '\\' <<<"$release/Tarnwick.exe")" "${western[@]}" LC_MESSAGES=ja_JP.UTF-8 \
    scripts/wine-session.sh ctest --preset windows -R '^e2e-start-up$' || { rm -rf "$release"; return 1; }
  rm -rf "$release"
}
phase "release check" release_check
