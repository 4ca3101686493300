#!/usr/bin/env bash
# Configures and builds into the given folder (default build/); extra arguments go to cmake,
# except "--target NAME", which builds only that target (may be given more than once).
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}; shift || true
options=(); targets=()
while [ $# -gt 0 ]; do
  if [ "$1" = --target ] && [ $# -ge 2 ]; then targets+=(--target "$2"); shift 2
  else options+=("$1"); shift; fi
done
launcher=()
# A developer's ccache, when there is one, makes rebuilds of other checkouts cheap.
if command -v ccache >/dev/null 2>&1; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  "${launcher[@]}" "${options[@]}" >/dev/null
cmake --build "$dir" "${targets[@]}"
