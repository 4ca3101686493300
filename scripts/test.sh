#!/usr/bin/env bash
# Installs what is missing, builds the programs and benchmarks (and checks the Debian package
# of that build), then builds every test under AddressSanitizer and UndefinedBehaviorSanitizer
# and runs them, and last fuzzes the recording file reader for a minute. The tests compile
# once, in the sanitized build: compiling them twice cost the run more time than anything
# else. Each build makes only the targets its step uses.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"
jobs=$(nproc)

# Targets only, so that a build/ a developer configured with tests keeps them.
bash scripts/build.sh build -DQUORZK_WERROR=ON \
  --target quorzk --target quorzk-cli --target quorzk-sim --target benchmarks

# The Debian package of that build: its files, the desktop entry, the .qrv file type, and
# an install into a throwaway root.
bash scripts/package.sh build
bash scripts/check_package.sh build/quorzk_*.deb

# The test programs and the programs they start; not the desktop program itself.
bash scripts/build.sh build-asan -DQUORZK_WERROR=ON -DQUORZK_SANITIZE=ON -DQUORZK_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 --target test_programs
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The store's tests run against SQLite and a real PostgreSQL 15 that pg_virtualenv makes for
# this run alone (a throwaway cluster, its PGHOST, PGPORT, PGUSER, PGPASSWORD and
# PGDATABASE in the tests' environment, dropped afterwards). Here a PostgreSQL test that
# finds no server fails instead of skipping.
export QUORZK_REQUIRE_POSTGRES=1
(cd build-asan && pg_virtualenv -t -v 15 ctest --output-on-failure -j "$jobs")

# A real fuzz, not only a build: a crash fails the run and names the input.
bash scripts/fuzz.sh 60
