#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh build
# First start on a machine without a USB serial logger: begin on the simulated logger
# (the settings file is the program's own; the Options dialog changes the port later).
if [ ! -e build/QUORZK.INI ] && ! ls /dev/ttyUSB* /dev/ttyACM* >/dev/null 2>&1; then
  printf '[Communication]\nComport=sim\n' > build/QUORZK.INI
fi
exec ./build/quorzk "$@"
