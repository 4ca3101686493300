#!/usr/bin/env bash
# Builds the Debian package of the programs and prints its path.
#   bash scripts/package.sh                  in build-deb/, without tests and benchmarks
#   bash scripts/package.sh DIR [OPTIONS]    in a build folder of your own (the test run
#                                            packs build/ as it was built), cmake OPTIONS
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
if [ $# -eq 0 ]; then
  dir=build-deb
  set -- -DQUORZK_WERROR=ON -DQUORZK_TESTS=OFF -DQUORZK_BENCH=OFF
else
  dir=$1; shift
fi
bash scripts/build.sh "$dir" "$@" --target quorzk --target quorzk-cli --target quorzk-sim
rm -f "$dir"/quorzk_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
ls "$dir"/quorzk_*.deb
