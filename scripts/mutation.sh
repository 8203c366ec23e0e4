#!/usr/bin/env bash
# Mutation testing: how much of Tarnwick's portable logic the native unit tests
# catch. From the repository's top folder:
#
#   scripts/mutation.sh                  # 120 mutants, seed 1 (a few minutes on 2 cores)
#   MUTANTS=5 scripts/mutation.sh        # a quick look
#
# It works on a copy of the working tree in a temporary folder (without build/, dist/
# and .git) and leaves the checkout untouched, uncommitted changes included in the copy.
# It configures the copy with the native preset, builds the unit_tests target once,
# runs the tests unmutated, then takes the .cpp files of core/, watch/ and ui/ that are
# compiled and linked into unit_tests (never *_win.cpp), makes mutants of them from
# their text (scripts/mutants.py says which), and samples N of them, spread over the
# files by their candidate mutants, with a fixed seed: the same source gives the same
# mutants. Each mutant is applied, built incrementally and tested with a time limit
# (a timeout counts as killed), and its file restored.
#
# Environment: MUTANTS (default 120), MUTATION_SEED (default 1), MUTATION_FOLDERS
# (default "core watch ui"), MUTATION_TIMEOUT (seconds per test run, default 60),
# MUTATION_JOBS (default 2), MUTATION_KEEP=1 keeps the work folder,
# MUTATION_FAIL_FAST=1 stops each test run at its first failure. Prints each
# surviving mutant, the kills of each unit test (all, and the ones no other test
# makes) and the score; the progress goes to standard error.
# Exit code 0, or 1 when the repository is not found, 2 when the baseline build
# fails and 3 when the unmutated tests fail.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
generator="$here/mutants.py"
count=${MUTANTS:-120}
seed=${MUTATION_SEED:-1}
limit=${MUTATION_TIMEOUT:-60}
jobs=${MUTATION_JOBS:-2}
fail_fast=${MUTATION_FAIL_FAST:-}  # set: stop each run at its first failure (faster; no per-test kill counts)
[ "$fail_fast" = 0 ] && fail_fast=
checkout=$(cd "$here/.." && pwd)  # the repository this script belongs to, wherever it is run from

[ -f "$checkout/CMakePresets.json" ] && [ -d "$checkout/core" ] ||
  { echo "$checkout is not Tarnwick's repository (CMakePresets.json, core/)" >&2; exit 1; }
[ -f "$generator" ] || { echo "missing $generator" >&2; exit 1; }

started=$(date +%s)
minutes() { local s=$1; printf '%dm %02ds' $((s / 60)) $((s % 60)); }
say() { echo "$*" >&2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/mutation.XXXXXX")
cleanup() { [ "${MUTATION_KEEP:-0}" = 1 ] && say "work folder kept: $work" || rm -rf "$work"; }
trap cleanup EXIT
trap 'exit 130' INT TERM

# The copy: the checkout's files as they are now, without builds or history.
src="$work/src"
mkdir -p "$src" "$work/tmp" "$work/logs"
tar -C "$checkout" --exclude=./build --exclude=./dist --exclude=./.git -cf - . | tar -C "$src" -xf - ||
  { echo "could not copy the checkout" >&2; exit 2; }
cd "$src"

# The preset's build folder, as CMakePresets.json names it.
build=$(python3 - <<'EOF'
import json
presets = json.load(open('CMakePresets.json'))['configurePresets']
native = next(p for p in presets if p['name'] == 'native')
print(native.get('binaryDir', '${sourceDir}/build/native').replace('${sourceDir}', '.').replace('${presetName}', 'native'))
EOF
) || { echo "no native preset in CMakePresets.json" >&2; exit 2; }

say "baseline: configuring and building unit_tests in $src"
if ! cmake --preset native -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >"$work/logs/configure.log" 2>&1; then
  tail -n 30 "$work/logs/configure.log" >&2; echo "baseline configure failed" >&2; exit 2
fi
if ! cmake --build "$build" --target unit_tests -j "$jobs" >"$work/logs/build.log" 2>&1; then
  tail -n 30 "$work/logs/build.log" >&2; echo "baseline build failed" >&2; exit 2
fi
binary=$(find "$build" -type f -name unit_tests -perm -u+x | head -n 1)
[ -n "$binary" ] || { echo "baseline build made no unit_tests program" >&2; exit 2; }
built=$(date +%s)

run_tests() {  # the unit tests, from their own folder as ctest runs them, temporary files kept inside the copy
  (cd "$(dirname "$binary")" && TMPDIR="$work/tmp" timeout -k 5 "$limit" "./$(basename "$binary")" \
     ${fail_fast:+--gtest_fail_fast} >"$1" 2>&1) 2>/dev/null  # a crash is read from the log, not reported by bash
}
killers() {  # the failing tests of a log, parameters dropped; else the test that crashed or ran out of time
  local names
  names=$(sed -nE 's/^\[  FAILED  \] ([^ ,]+\.[^ ,]+).*/\1/p' "$1" | sed -E 's#^[A-Za-z0-9_]+/##; s#/[A-Za-z0-9_]+$##' | sort -u)
  [ -n "$names" ] || names="$(sed -nE 's/^\[ RUN      \] (.*)/\1/p' "$1" | tail -n 1 | sed -E 's#^[A-Za-z0-9_]+/##; s#/[A-Za-z0-9_]+$##')!"
  echo $names | tr ' ' ','
}
if ! run_tests "$work/logs/baseline-tests.log"; then
  tail -n 30 "$work/logs/baseline-tests.log" >&2; echo "the unmutated unit tests fail" >&2; exit 3
fi
tested=$(date +%s)
say "baseline: built in $(minutes $((built - started))), tests pass in $((tested - built)) s"

# The files under test and their mutants.
mapfile -t files < <(python3 "$generator" sources "$src" "$build" "$binary")
[ ${#files[@]} -gt 0 ] || { echo "no core/ or watch/ source is linked into unit_tests" >&2; exit 2; }
mkdir -p "$work/mutants" "$work/original"
for file in "${files[@]}"; do mkdir -p "$work/original/$(dirname "$file")"; cp -p "$file" "$work/original/$file"; done
sampling=$(python3 "$generator" generate "$src" "$work/mutants" "$count" "$seed" "${files[@]}") ||
  { echo "mutant generation failed" >&2; exit 2; }
say "$sampling"
total=$(wc -l <"$work/mutants/index.tsv")

killed=0 survived=0 broken=0 timeouts=0 done_count=0
declare -A file_sampled file_compiling file_killed
survivors=()
while IFS=$'\t' read -r id file line kind what shown; do
  done_count=$((done_count + 1))
  cp "$work/mutants/$id.src" "$file"
  if ! cmake --build "$build" --target unit_tests -j "$jobs" >"$work/logs/$id-build.log" 2>&1; then
    outcome="does not compile"; broken=$((broken + 1))
  else
    run_tests "$work/logs/$id-tests.log"; rc=$?
    if [ $rc -eq 0 ]; then
      outcome=SURVIVED; survived=$((survived + 1))
      survivors+=("$(printf '%s:%s\t%-5s %s\t| %s' "$file" "$line" "$kind" "$what" "$shown")")
    else
      outcome=killed; killed=$((killed + 1))
      if [ $rc -eq 124 ] || [ $rc -eq 137 ]; then timeouts=$((timeouts + 1)); outcome="killed (timeout)"; fi
      by=$(killers "$work/logs/$id-tests.log")
      printf '%s\t%s:%s\t%s\n' "$id" "$file" "$line" "$by" >>"$work/kills.tsv"
      outcome="$outcome by $by"
      file_killed[$file]=$(( ${file_killed[$file]:-0} + 1 ))
    fi
    file_compiling[$file]=$(( ${file_compiling[$file]:-0} + 1 ))
  fi
  file_sampled[$file]=$(( ${file_sampled[$file]:-0} + 1 ))
  cp "$work/original/$file" "$file"  # newer than the mutant's object: the next build compiles it again
  say "[$done_count/$total] $file:$line $kind $what: $outcome"
done <"$work/mutants/index.tsv"
finished=$(date +%s)

compiling=$((killed + survived))
echo "Surviving mutants (${#survivors[@]}):"
for s in "${survivors[@]}"; do echo "  $s"; done
echo
echo "Per file: sampled, compiling, killed"
for file in "${files[@]}"; do
  [ -n "${file_sampled[$file]:-}" ] &&
    printf '  %-32s %3d %3d %3d\n' "$file" "${file_sampled[$file]}" "${file_compiling[$file]:-0}" "${file_killed[$file]:-0}"
done
echo
if [ -s "$work/kills.tsv" ] && [ -z "$fail_fast" ]; then
  echo "Kills per unit test: all, and those no other test makes (a crash ends the run: counted in all only)"
  awk -F'\t' '{ n = split($3, t, ","); for (i = 1; i <= n; i++) { name = t[i]; crash = sub(/!$/, "", name)
                   all[name]++; if (n == 1 && !crash) only[name]++ } }
       END { for (k in all) printf "  %3d %3d  %s\n", all[k], only[k], k }' "$work/kills.tsv" | sort -k1,1nr -k3
  echo
fi
echo "$sampling"
score=$(awk -v k=$killed -v m=$compiling 'BEGIN { if (m == 0) print "n/a"; else printf "%.1f", 100 * k / m }')
echo "mutation score: $killed killed of $compiling compiling mutants ($score%)"
echo "not compiling: $broken; killed by the ${limit} s timeout: $timeouts"
echo "elapsed: $(minutes $((finished - started))) (baseline build $(minutes $((built - started))), $total mutants $(minutes $((finished - tested))))"
exit 0
