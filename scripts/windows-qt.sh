#!/usr/bin/env bash
# Makes Qt 6.4.2 for MinGW-w64 (x86_64, posix threads) available for scripts/windows.sh, and
# beside it a static SQLite of the version Qt's SQLite driver carries (the journal registers its
# search function on the driver's connection). Prints the Qt folder.
#   MELDLUX_QT_MINGW          where the Qt goes (default ~/.cache/meldlux/qt6-mingw-6.4.2)
#   MELDLUX_QT_MINGW_ARCHIVE  a qt6.4.2-mingw-w64-x86_64.tar.xz to unpack instead of building
# Without an archive Qt is built from Debian 12's own qt6-base source with its security patches,
# Debian's Qt 6.4.2 serving as the host tools: about 35 to 40 minutes on 2 cores, 6 GB of disk.
# Needs root (or sudo) for apt when packages or deb-src entries are missing.
set -euo pipefail
qt=$(realpath -m "${MELDLUX_QT_MINGW:-$HOME/.cache/meldlux/qt6-mingw-6.4.2}")
cache=$(dirname "$qt")
sqlite=$qt/sqlite
export DEBIAN_FRONTEND=noninteractive
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

# Debian's source packages; the deb-src entries are added when the system has none.
debian_source() {
  if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
    sed -e 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
      $sudo tee /etc/apt/sources.list.d/debian-src.sources >/dev/null
    $sudo apt-get update -qq
  fi
  apt-get source -qq --download-only "$@" >/dev/null 2>&1
}

need_packages() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
}

# The SQLite amalgamation from Debian's sqlite3 source (also what Qt's driver is built from).
make_amalgamation() { # into $1
  local work=$1
  mkdir -p "$work" && cd "$work"
  debian_source sqlite3
  rm -rf sqlite && mkdir sqlite && cd sqlite
  dpkg-source -x ../sqlite3_*.dsc src >/dev/null 2>&1
  mkdir bld && cd bld && ../src/configure >/dev/null && make -s sqlite3.c sqlite3.h >/dev/null
}

need_packages dpkg-dev g++-mingw-w64-x86-64-posix qt6-base-dev qt6-base-dev-tools cmake \
  ninja-build tcl xz-utils

if [ ! -x "$qt/bin/qt-cmake" ]; then
  if [ -n "${MELDLUX_QT_MINGW_ARCHIVE:-}" ]; then
    mkdir -p "$cache" # a fresh machine has no cache folder yet
    unpack=$(mktemp -d "$cache/unpack.XXXXXX")
    tar -C "$unpack" -xJf "$MELDLUX_QT_MINGW_ARCHIVE"
    rm -rf "$qt" && mv "$unpack"/qt6-mingw-* "$qt" && rm -rf "$unpack"
  else
    work=$cache/qt-build
    make_amalgamation "$work"
    cd "$work" && debian_source qt6-base
    rm -rf src && mkdir src && cd src
    tar -xJf ../qt6-base_6.4.2+dfsg.orig.tar.xz
    tar -xJf ../qt6-base_6.4.2+dfsg-*.debian.tar.xz
    cd qtbase-everywhere-src-6.4.2
    for p in cve-2023-32762.diff cve-2023-32763.diff cve-2023-33285.diff cve-2023-24607.patch; do
      if [ -f "../debian/patches/$p" ]; then patch -s -p1 < "../debian/patches/$p"; fi
    done
    # Debian's +dfsg tarball lacks the bundled SQLite (and wintab: no tablet events).
    mkdir -p src/3rdparty/sqlite
    cp "$work"/sqlite/bld/sqlite3.{c,h} "$work"/sqlite/src/src/sqlite3ext.h src/3rdparty/sqlite/ 2>/dev/null ||
      cp "$work"/sqlite/bld/sqlite3.{c,h} src/3rdparty/sqlite/
    qtsrc=$PWD
    rm -rf "$work/build" && mkdir "$work/build" && cd "$work/build"
    toolchain=$(realpath "$(dirname "$0")/../cmake/mingw-w64-x86_64.cmake")
    # direct2d stays on: without it the print engine's link fails in 6.4.2.
    "$qtsrc/configure" -prefix "$qt" -release -shared -xplatform win32-g++ -qt-host-path /usr \
      -nomake tests -nomake examples -no-opengl -no-dbus \
      -no-feature-tabletevent -no-feature-direct2d1_1 \
      -no-sql-odbc -no-sql-psql -no-sql-mysql -no-sql-ibase -no-sql-oci -no-sql-db2 \
      -qt-zlib -qt-libpng -qt-libjpeg -qt-freetype -qt-harfbuzz -qt-pcre \
      -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
      -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >/dev/null
    ninja -j"$(nproc)"
    ninja install >/dev/null
    # Relocatable: qt-cmake chain-loads the toolchain file from beside it.
    cp "$toolchain" "$qt/lib/cmake/mingw-w64-x86_64.cmake"
    sed -i 's#^set(__qt_initially_configured_toolchain_file ".*")#set(__qt_initially_configured_toolchain_file "${CMAKE_CURRENT_LIST_DIR}/../mingw-w64-x86_64.cmake")#' \
      "$qt/lib/cmake/Qt6/qt.toolchain.cmake"
    find "$qt" -name '*.dll' -exec x86_64-w64-mingw32-strip --strip-unneeded {} +
    rm -rf "$work/build" "$work/src"
  fi
fi

# The static SQLite, built with the options Qt gives its bundled copy: the connection's layout
# depends on them (the journal test "SqliteMatchesTheDriver" compares both lists).
if [ ! -f "$sqlite/lib/libsqlite3.a" ]; then
  work=$cache/sqlite-build
  [ -f "$work/sqlite/bld/sqlite3.c" ] || make_amalgamation "$work"
  rm -rf "$sqlite" && mkdir -p "$sqlite/include" "$sqlite/lib"
  cd "$work/sqlite/bld"
  x86_64-w64-mingw32-gcc-posix -O2 -c sqlite3.c -o sqlite3.o -DNDEBUG \
    -DSQLITE_ENABLE_COLUMN_METADATA -DSQLITE_OMIT_LOAD_EXTENSION -DSQLITE_OMIT_COMPLETE \
    -DSQLITE_ENABLE_FTS3 -DSQLITE_ENABLE_FTS3_PARENTHESIS -DSQLITE_ENABLE_FTS5 \
    -DSQLITE_ENABLE_RTREE
  x86_64-w64-mingw32-ar rcs "$sqlite/lib/libsqlite3.a" sqlite3.o
  cp sqlite3.h "$sqlite/include/"
fi
echo "$qt"
