#!/usr/bin/env bash
# Installs the Debian packages that building, testing and the demo need (only what is missing).
set -euo pipefail

packages=(qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-qpa-plugins
          libgtest-dev libgmock-dev libbenchmark-dev
          ninja-build cmake g++ clang xvfb xauth
          libclang-rt-14-dev  # clang's libFuzzer and sanitizer runtimes, only recommended by clang
          fonts-liberation2  # the strip's design font Arial, by its metric twin
          trayer xdotool     # a notification area and a hand for the tray's end-to-end test
          qt6-svg-dev        # renders the icon's PNG sizes at build time
          dpkg-dev desktop-file-utils appstream   # the Debian package and its checks
          multimon-ng        # the real decoder the bridge tests run the generated audio through
          lintian help2man   # Debian's package checker; manual pages from --help
          libfaketime        # a faster clock for the fault tests' reconnection runs
          libqt6sql6-sqlite  # the journal's SQLite driver for Qt SQL
          libmosquitto-dev   # the bridge's MQTT client library
          mosquitto openssl  # the broker the MQTT tests start, and their test CA
          libsqlite3-dev     # the journal's umlaut-folding search function
          g++-mingw-w64-x86-64-posix wine wine64  # the Windows build, run under Wine
          nsis tcl xz-utils)  # the Windows installer; the SQLite amalgamation; the MinGW Qt archive

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
