#!/usr/bin/env bash
# Installs the Debian packages that building, testing and the demo need (only what is missing).
# With --demo only those that building and running the demo needs.
set -euo pipefail

# What configuring, building and running the demo needs.
demo=(qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-qpa-plugins
      ninja-build cmake g++ pkg-config xvfb
      fonts-liberation2  # the strip's design font Arial, by its metric twin
      qt6-svg-dev        # renders the icon's PNG sizes at build time
      qt6-translations-l10n  # Qt's own dialog texts in German
      libqt6sql6-sqlite  # the journal's SQLite driver for Qt SQL
      libsqlite3-dev     # the journal's umlaut-folding search function
      libmosquitto-dev   # the bridge's MQTT client library
      libespeak-ng-dev espeak-ng-data libpcaudio-dev  # alarm texts read out in German
      help2man           # manual pages from --help
      multimon-ng)       # the real decoder of the demo's radio road (--funk)
# What the tests, benchmarks, fuzzers and the package checks need on top.
tests=(libgtest-dev libgmock-dev libbenchmark-dev
       clang xauth
       libclang-rt-14-dev  # clang's libFuzzer and sanitizer runtimes, only recommended by clang
       trayer xdotool     # a notification area and a hand for the tray's end-to-end test
       x11-utils          # xwininfo: the order of windows on the screen, for the Wine test
       libsm-dev libice-dev  # the desktop session's manager the log-out test plays
       tesseract-ocr tesseract-ocr-deu  # reads the hall monitor's pictures back in its tests
       qt6-base-private-dev  # the offscreen platform's screens plugged in and out by a test
       dpkg-dev desktop-file-utils appstream   # the Debian package and its checks
       lintian            # Debian's package checker
       libfaketime        # a faster clock for the fault tests' reconnection runs
       mosquitto openssl  # the broker the MQTT tests start, and their test CA
       g++-mingw-w64-x86-64-posix wine wine64  # the Windows build, run under Wine
       nsis tcl xz-utils)  # the Windows installer; the SQLite amalgamation; the MinGW Qt archive

packages=("${demo[@]}")
[ "${1:-}" = --demo ] || packages+=("${tests[@]}")

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
