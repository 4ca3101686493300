#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, the screenshots, the package check and
# the fuzzing (clang and its libFuzzer) need, when missing; and the database drivers and the
# PostgreSQL server the fleet store's tests use; systemd-analyze for the package check of the
# collection timer.
set -euo pipefail
pkgs=(cmake ninja-build g++ qt6-base-dev qt6-serialport-dev qt6-svg-dev libqt6sql6-sqlite libgtest-dev libbenchmark-dev
      fonts-liberation xvfb xauth xdotool poppler-utils
      dpkg-dev desktop-file-utils libxml2-utils shared-mime-info xdg-utils libfile-mimeinfo-perl
      man-db lintian clang-14 libclang-rt-14-dev systemd
      libqt6sql6-sqlite libqt6sql6-psql postgresql-15 postgresql-common)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -eq 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
  echo "Missing packages; install them with:" >&2
  echo "  sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi
