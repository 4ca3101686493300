#!/usr/bin/env bash
# Installs what is missing, builds the programs, and starts the desktop program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
# Only the three programs, in build/ with the options scripts/test.sh uses: a first start
# compiles no test or benchmark, and the test run later reuses every object built here
# (different options would make the two rebuild each other's objects).
bash scripts/build.sh build -DQUORZK_WERROR=ON --target quorzk --target quorzk-cli --target quorzk-sim
# First start on a machine without a USB serial logger: begin on the simulated logger
# (the settings file is the program's own; the Options dialog changes the port later).
if [ ! -e build/QUORZK.INI ] && ! ls /dev/ttyUSB* /dev/ttyACM* >/dev/null 2>&1; then
  printf '[Communication]\nComport=sim\n' > build/QUORZK.INI
fi
exec ./build/quorzk "$@"
