#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the portable
# logic natively and under the sanitizers, a short fuzzing run of every reader of
# outside data, then the Windows programs under Wine. At its end it prints the
# seconds that each phase took; `phase NAME COMMAND...` below names them.
set -euo pipefail
cd "$(dirname "$0")/.."

times=$(mktemp)
phase() {
  local name=$1 started=$SECONDS status=0
  shift
  "$@" || status=$?
  printf '%5d s  %s\n' $((SECONDS - started)) "$name" >>"$times"
  return $status
}
# Phases that wait more than they compute run beside the others: their output is
# shown when they have ended.
background=()
beside() {
  local log
  log=$(mktemp)
  phase "$@" >"$log" 2>&1 &
  background+=("$!:$log")
}
await_beside() {
  local entry status=0
  for entry in "${background[@]}"; do
    wait "${entry%%:*}" || status=1
    cat "${entry#*:}"
    rm -f "${entry#*:}"
  done
  background=()
  return $status
}
report() {
  echo "Seconds by phase:"
  sed 's/^/  /' "$times"
  echo "  $SECONDS s in all"
  rm -f "$times"
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

cmake --preset windows >/dev/null
phase "windows build" cmake --build --preset windows -j "$jobs"

# Every reader of outside data fuzzed briefly; any crash, hang or broken property fails.
beside "fuzzing" scripts/fuzz.sh 10

# The release archive as a user gets it: its program imports only what every
# Windows has, its guides read right on any Windows (UTF-8 with a byte-order mark),
# and unpacked it starts, and starts again, as a new user's does.
western=(env -u LC_ALL LANG=C.UTF-8 LC_MESSAGES=ja_JP.UTF-8)
release_check() {
  local archive release
  archive=$(scripts/package.sh | tail -n 1)
  release=$(mktemp -d)
  unzip -q "$archive" -d "$release"
  for guide in README-ja.txt README-en.txt; do
    [ "$(head -c 3 "$release/$guide" | od -An -tx1 | tr -d ' ')" = efbbbf ] ||
      { echo "$guide is missing or does not start with the UTF-8 byte-order mark" >&2; rm -rf "$release"; return 1; }
  done
  TARNWICK_EXE="Z:$(tr / '\\' <<<"$release/Tarnwick.exe")" TARNWICK_PREFIX_CACHE=build/windows/wine-prefixes \
    "${western[@]}" scripts/wine-session.sh wine build/windows/tarnwick_e2e.exe start-up || { rm -rf "$release"; return 1; }
  rm -rf "$release"
}
beside "release check" release_check

# Every Wine test, each in a Windows world of its own, several side by side: as a
# western system (code page 1252) whose display language is Japanese, the English
# interface on the same system with an English display language, and what depends
# on the code page (names of programs and files, texts, the save and settings files)
# again as a Japanese system (code page 932). ctest's labels: western, english, japanese.
wine_status=0
phase "wine tests, 4 side by side" ctest --preset windows -j 4 || wine_status=$?
await_beside
exit $wine_status
