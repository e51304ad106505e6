#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan, UBSan) into build-fuzz/ and
# runs every target for the given number of seconds (default 60), several at
# once. Each target starts from its committed seed corpus (tests/fuzz/corpus/
# <target>, read only) plus a working corpus that grows in
# build-fuzz/fuzz-corpus/<target>. Inputs that crash or fail a check are left
# in build-fuzz/fuzz-crashes/<target>/, named by libFuzzer (crash-..., leak-...,
# timeout-...); the log of each run is beside them. The script ends with a
# non-zero status when any target found something.
#
#   bash tools/fuzz.sh [seconds]
#
# FUZZ_JOBS sets how many targets run at once (default: half the cores);
# FUZZ_TARGETS names a subset ("filter money"); FUZZ_BUILD_JOBS the build's
# parallel jobs (default: all cores).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
seconds="${1:-60}"
"$here/tools/install-deps.sh" --fuzz
build="${TALLYRA_FUZZ_BUILD_DIR:-$here/build-fuzz}"
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALLYRA_FUZZ=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cores=$(nproc)
cmake --build "$build" -j"${FUZZ_BUILD_JOBS:-$cores}" --target tallyra_fuzz

targets="${FUZZ_TARGETS:-$(cd "$here/tests/fuzz/corpus" && ls)}"
jobs="${FUZZ_JOBS:-$(( cores / 2 > 0 ? cores / 2 : 1 ))}"
crashes="$build/fuzz-crashes"
mkdir -p "$crashes"
# The database targets write scratch files; memory is faster than the disk.
export TMPDIR="${TMPDIR:-$( [ -w /dev/shm ] && echo /dev/shm || echo /tmp )}"

run_one() {
  local t=$1
  local out="$crashes/$t"
  mkdir -p "$out" "$build/fuzz-corpus/$t"
  local dict=()
  [ -f "$here/tests/fuzz/$t.dict" ] && dict=(-dict="$here/tests/fuzz/$t.dict")
  echo "fuzzing $t for ${seconds}s"
  if "$build/tests/fuzz/fuzz_$t" "$build/fuzz-corpus/$t" "$here/tests/fuzz/corpus/$t" \
      "${dict[@]}" -max_total_time="$seconds" -artifact_prefix="$out/" -print_final_stats=1 \
      >"$out/fuzz.log" 2>&1; then
    echo "$t: $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$out/fuzz.log" | grep -o '[0-9]*$') runs, nothing found"
  else
    echo "$t: FOUND SOMETHING, see $out/ (log: $out/fuzz.log)"
  fi
}
export -f run_one
export build here seconds crashes
printf '%s\n' $targets | xargs -P "$jobs" -I{} bash -c 'run_one {}'

found=$(find "$crashes" -type f ! -name fuzz.log | sort)
if [ -n "$found" ]; then
  echo "Inputs that failed, in $crashes:"
  echo "$found"
  echo "Replay one with: $build/tests/fuzz/fuzz_<target> <file>"
  exit 1
fi
echo "No crashes; logs in $crashes/<target>/fuzz.log"
