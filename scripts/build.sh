#!/usr/bin/env bash
# Configures and builds into the given folder (default build/); extra arguments go to cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}; shift || true
launcher=()
# A developer's ccache, when there is one, makes rebuilds of other checkouts cheap.
if command -v ccache >/dev/null 2>&1; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  "${launcher[@]}" "$@" >/dev/null
cmake --build "$dir"
