#!/usr/bin/env bash
# Cross-builds Meldlux for 64-bit Windows into build-windows/: the programs with their runtime in
# build-windows/bin/, the core's test programs (run under Wine: ctest -L windows) and the
# installer build-windows/meldlux-<version>-setup.exe. The MinGW Qt comes from
# scripts/windows-qt.sh (MELDLUX_QT_MINGW_ARCHIVE: unpack that archive instead of building Qt).
# Extra arguments go to CMake's configure step; MELDLUX_WINDOWS_TARGETS builds only those targets.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build-windows
jobs=${MELDLUX_JOBS:-2}
toolchain=$root/cmake/mingw-w64-x86_64.cmake

qt=$(bash scripts/windows-qt.sh | tail -n 1)

# The default sounds (and, for the installer's test, the Linux programs) from the Linux build.
[ -f build/CMakeCache.txt ] ||
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMELDLUX_BUILD_BENCH=OFF >/dev/null
cmake --build build -j "$jobs" --target meldlux_desktop_data meldlux meldlux-decoder-sim meldlux-refdata \
  meldlux-screenshot

# GoogleTest from Debian's source (libgtest-dev), built with the same compiler.
gtest=$out/googletest
if [ ! -f "$gtest/lib/cmake/GTest/GTestConfig.cmake" ]; then
  cmake -S /usr/src/googletest -B "$out/googletest-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$gtest" >/dev/null
  cmake --build "$out/googletest-build" -j "$jobs" >/dev/null
  cmake --install "$out/googletest-build" >/dev/null
fi

cmake -S . -B "$out" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_PREFIX_PATH="$qt;$gtest" -DQt6_DIR="$qt/lib/cmake/Qt6" -DGTest_DIR="$gtest/lib/cmake/GTest" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DSQLite3_INCLUDE_DIR="$qt/sqlite/include" -DSQLite3_LIBRARY="$qt/sqlite/lib/libsqlite3.a" \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$(command -v wine)" -DMELDLUX_LINUX_BUILD="$root/build" \
  -DMELDLUX_BUILD_BENCH=OFF "$@" >/dev/null
cmake --build "$out" -j "$jobs" ${MELDLUX_WINDOWS_TARGETS:+--target $MELDLUX_WINDOWS_TARGETS}
