#!/usr/bin/env bash
# Fuzzes every reader of outside data with AFL++ (classic afl-g++ mode, address and
# undefined-behaviour sanitizers), each target for the given seconds (default 60),
# starting from the seed corpora in fuzz/seeds. Fails on any crash or hang; the
# inputs that caused them are kept in build/fuzz/findings. Prints each target's
# executions, paths found and crashes.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
targets=(save-file old-layout settings cp932 companion)

scripts/install-deps.sh
export AFL_SKIP_CPUFREQ=1 AFL_NO_UI=1 AFL_I_DONT_CARE_ABOUT_MISSING_CRASHES=1 AFL_QUIET=1
build=build/fuzz
CXX=afl-g++ cmake -S . -B "$build" -DTARNWICK_FUZZ_ONLY=ON -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -O1" >/dev/null
AFL_DONT_OPTIMIZE=1 cmake --build "$build" --target fuzz_harness -j "$(nproc)" >/dev/null

status=0
rm -rf "$build/findings"
for target in "${targets[@]}"; do
  out="$build/afl-$target"
  rm -rf "$out"
  # -m none: the address sanitizer reserves far more virtual memory than AFL's limit.
  dictionary=()
  [ -f "fuzz/$target.dict" ] && dictionary=(-x "fuzz/$target.dict")
  afl-fuzz -i "fuzz/seeds/$target" -o "$out" "${dictionary[@]}" -m none -t 2000 -V "$seconds" -- \
    "$build/fuzz/fuzz_harness" "$target" >"$out.log" 2>&1 || true
  stats="$out/default/fuzzer_stats"
  if [ ! -f "$stats" ]; then
    echo "$target: afl-fuzz did not run"; tail -20 "$out.log"; status=1; continue
  fi
  value() { awk -F' *: *' -v key="$1" '$1 == key { print $2 }' "$stats"; }
  crashes=$(find "$out/default/crashes" "$out/default/hangs" -type f -name 'id:*' | wc -l)
  printf '%-20s %8s executions in %4s s, %4s paths, %s crashes or hangs\n' \
    "$target" "$(value execs_done)" "$(value run_time)" "$(value corpus_count)" "$crashes"
  if [ "$crashes" -gt 0 ]; then
    mkdir -p "$build/findings/$target"
    cp "$out"/default/crashes/id:* "$out"/default/hangs/id:* "$build/findings/$target/" 2>/dev/null || true
    echo "  inputs kept in $build/findings/$target"
    status=1
  fi
done
exit $status
