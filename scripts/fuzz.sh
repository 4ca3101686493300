#!/usr/bin/env bash
# Fuzzes the recording file reader with libFuzzer (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) for the given number of seconds (default 60), in build-fuzz/.
# The seeds of fuzz/corpus are copied to a temporary folder, so the run leaves the
# repository as it was. A crash fails the run; the crashing input is kept in
# build-fuzz/artifacts/ and its path is printed.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
dir=build-fuzz
export CC=${CC:-clang-14} CXX=${CXX:-clang++-14}
bash scripts/build.sh "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORZK_WERROR=ON -DQUORZK_FUZZ=ON \
  -DQUORZK_SANITIZE=ON -DQUORZK_TESTS=OFF -DQUORZK_BENCH=OFF --target fuzz_recording_file

corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
cp fuzz/corpus/* "$corpus"/
artifacts=$PWD/$dir/artifacts
mkdir -p "$artifacts"
log=$PWD/$dir/fuzz.log
status=0
"$dir"/fuzz/fuzz_recording_file -max_len=65536 -max_total_time="$seconds" -timeout=30 \
  -artifact_prefix="$artifacts"/ -print_final_stats=1 "$corpus" >"$log" 2>&1 || status=$?
if [ "$status" -ne 0 ]; then
  tail -n 200 "$log" >&2
  echo "fuzz: the recording file reader failed (exit status $status); the input that did it:" >&2
  ls -1t "$artifacts"/* 2>/dev/null | head -n 1 >&2
  exit "$status"
fi
grep -E '^stat::(number_of_executed_units|new_units_added)' "$log" || true
echo "fuzz: $seconds s without a crash"
