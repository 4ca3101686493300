#!/usr/bin/env bash
# Configures and builds into the given folder (default build/); extra arguments go to cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}; shift || true
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" "$@" >/dev/null
cmake --build "$dir"
