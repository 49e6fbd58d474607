#!/usr/bin/env bash
# Installs the build tree into a scratch prefix, builds the Debian package from it and installs
# and removes that package in a scratch dpkg root: the files land where a desktop looks for
# them, both validators accept them, the programs run, and removal leaves nothing behind.
# Usage: package_test.sh BUILD_DIR VERSION
set -euo pipefail
build=$(cd "$1" && pwd)
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
app=de.meldlux.Meldlux
release_date=$(sed -n "s/^## $version (\([0-9-]*\))$/\1/p" "$(dirname "$0")/../../CHANGELOG.md")
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Little-endian unsigned number of $3 bytes at offset $2 of file $1.
number() { od -An -tu"$3" -j "$2" -N "$3" --endian=little "$1" | tr -d ' '; }
text() { dd if="$1" bs=1 skip="$2" count="$3" status=none; }

check_wav() {
  local f=$1 size
  size=$(stat -c %s "$f")
  [ "$(text "$f" 0 4)$(text "$f" 8 8)" = "RIFFWAVEfmt " ] || { fail "$f: no RIFF/WAVE header"; return; }
  [ "$(number "$f" 4 4)" -eq $((size - 8)) ] || fail "$f: RIFF size does not match the file"
  [ "$(number "$f" 20 2)/$(number "$f" 22 2)/$(number "$f" 34 2)" = 1/1/16 ] ||
    fail "$f: not 16-bit mono PCM"
  local rate data
  rate=$(number "$f" 24 4)
  data=$(number "$f" 40 4)
  [ "$(text "$f" 36 4)" = data ] && [ "$data" -eq $((size - 44)) ] || fail "$f: data chunk size"
  [ "$(number "$f" 28 4)" -eq $((rate * 2)) ] || fail "$f: byte rate"
  # Short (under two seconds) and audible (a peak above a quarter of full scale).
  [ "$data" -gt 0 ] && [ "$data" -lt $((rate * 4)) ] || fail "$f: $data bytes of sound"
  local peak
  peak=$(od -An -td2 -j 44 -v "$f" | tr -s ' ' '\n' | awk '$1<0{$1=-$1} $1>m{m=$1} END{print m+0}')
  [ "$peak" -gt 8192 ] || fail "$f: peak $peak is too quiet"
}

check_png() { # file, expected edge length
  [ "$(text "$1" 1 3)" = PNG ] || { fail "$1: not a PNG"; return; }
  local w h
  w=$(od -An -tu1 -j 16 -N 4 "$1" | awk '{print $1*16777216+$2*65536+$3*256+$4}')
  h=$(od -An -tu1 -j 20 -N 4 "$1" | awk '{print $1*16777216+$2*65536+$3*256+$4}')
  [ "$w"x"$h" = "$2x$2" ] || fail "$1: ${w}x$h instead of $2x$2"
}

validate() { # root of an installed tree
  local out
  for desktop in "$1/share/applications/$app.desktop" "$1/share/meldlux/autostart/$app.desktop"; do
    out=$(desktop-file-validate "$desktop" 2>&1) && [ -z "$out" ] || fail "desktop-file-validate $desktop: $out"
  done
  out=$(appstreamcli validate --no-net "$1/share/metainfo/$app.metainfo.xml" 2>&1) ||
    fail "appstreamcli: $out"
  grep -q "^StartupWMClass=meldlux$" "$1/share/applications/$app.desktop" || fail "StartupWMClass"
  grep -q "<release version=\"$version\"" "$1/share/metainfo/$app.metainfo.xml" ||
    fail "metainfo names another version"
  for size in 16 22 24 32 48 64 128 256; do
    check_png "$1/share/icons/hicolor/${size}x$size/apps/$app.png" "$size"
  done
  grep -q "<svg" "$1/share/icons/hicolor/scalable/apps/$app.svg" || fail "scalable icon"
  for sound in alarm status text sprechaufforderung stoerung; do
    check_wav "$1/share/meldlux/sounds/$sound.wav"
  done
  for program in meldlux meldlux-decoder-sim meldlux-journal meldlux-multimon meldlux-refdata meldlux-signal-gen; do
    [ -x "$1/bin/$program" ] || fail "$program not installed"
  done
  [ -f "$1/share/doc/meldlux/BEDIENUNG.md" ] || fail "user guide not installed"
  # Every picture the guide shows lies where it points.
  for picture in $(grep -o '](\(bilder\|images\)/[^)]*)' "$1/share/doc/meldlux/BEDIENUNG.md" |
      tr -d '()]'); do
    [ -f "$1/share/doc/meldlux/$picture" ] || fail "the guide's picture $picture not installed"
  done
  [ -f "$1/share/meldlux/sample.scenario" ] || fail "sample scenario not installed"
  [ -f "$1/share/meldlux/signal.scenario" ] || fail "signal scenario not installed"
  for page in man1/meldlux man1/meldlux-decoder-sim man1/meldlux-journal man1/meldlux-multimon \
      man1/meldlux-refdata man1/meldlux-signal-gen de/man1/meldlux; do
    [ -n "$(zcat "$1/share/man/$page.1.gz" | grep '^\.SH')" ] || fail "manual page $page"
    # Dated by the release, not by the day of the build, so that two builds give the same bytes.
    th_date=$(zcat "$1/share/man/$page.1.gz" | sed -n 's/^\.TH [^ ]* [^ ]* "\([^"]*\)".*/\1/p')
    [ "$th_date" = "$release_date" ] || fail "manual page $page dated '$th_date', not $release_date"
  done
  grep -q "^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" \
    "$1/share/doc/meldlux/copyright" || fail "copyright file"
  grep -q "<project_license>GPL-3.0-or-later</project_license>" \
    "$1/share/metainfo/$app.metainfo.xml" || fail "metainfo licence"
}

# 1. cmake --install into a prefix.
cmake --install "$build" --prefix "$work/prefix" >/dev/null
validate "$work/prefix"
# Only the six programs: no test, benchmark or build helper goes along.
listed=$(cd "$work/prefix/bin" && ls | tr '\n' ' ')
[ "$listed" = "meldlux meldlux-decoder-sim meldlux-journal meldlux-multimon meldlux-refdata meldlux-signal-gen " ] || fail "bin/ holds: $listed"

# 2. The Debian package.
(cd "$work" && cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/pkg" >"$work/cpack.log" 2>&1) ||
  { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/pkg/meldlux_"$version"-1_*.deb)
[ "$(dpkg-deb -f "$deb" Version)" = "$version-1" ] || fail "package version"
# Debian's own checker: not one error or warning (info and pedantic tags are advice).
lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 ||
  fail "lintian: $(grep -v '^N:' "$work/lintian.log")"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6 libqt6multimedia6 \
           libqt6sql6 libmosquitto1; do
  [[ ", $depends," == *", $lib "* ]] || fail "Depends lacks $lib: $depends"
done
recommends=$(dpkg-deb -f "$deb" Recommends)
for pkg in multimon-ng rtl-sdr; do
  [[ ", $recommends," == *", $pkg,"* ]] || fail "Recommends lacks $pkg: $recommends"
done

# The journal's SQLite driver is a plugin and Qt's German texts are data, both named by hand.
for pkg in libqt6sql6-sqlite qt6-translations-l10n; do
  [[ ", $depends," == *", $pkg,"* ]] || fail "Depends lacks $pkg: $depends"
done

# 3. Install and remove it in a scratch dpkg root.
root=$work/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status" "$root/var/lib/dpkg/available"
dpkg=(dpkg --root="$root" --log=/dev/null --force-not-root --force-depends --force-script-chrootless)
"${dpkg[@]}" -i "$deb" >/dev/null 2>"$work/dpkg.err" || fail "dpkg -i: $(cat "$work/dpkg.err")"
validate "$root/usr"
# The installed, stripped programs run against the system's libraries; meldlux starts and ends
# the orderly way on SIGTERM, saving its settings.
if ldd "$root/usr/bin/meldlux" | grep -q "not found"; then fail "meldlux misses libraries"; fi
(cd "$work" && QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/xdg-data" \
   timeout --preserve-status -s TERM 3 "$root/usr/bin/meldlux" >/dev/null 2>&1) ||
  fail "installed meldlux did not run and end on SIGTERM"
[ -f "$work/config/meldlux/MeldluxWBR.ini" ] || fail "installed meldlux saved no settings"
"$root/usr/bin/meldlux-journal" check --file "$work/xdg-data/meldlux/journal.sqlite" | grep -qx ok ||
  fail "installed meldlux began no journal that meldlux-journal finds whole"
"$root/usr/bin/meldlux-refdata" sample "$work/data" >/dev/null &&
  "$root/usr/bin/meldlux-refdata" check "$work/data" | grep -q "Fahrzeug.Dat" ||
  fail "installed meldlux-refdata does not work"
# Every program's help speaks German, Qt's own words in it too.
for program in meldlux meldlux-decoder-sim meldlux-journal meldlux-refdata meldlux-signal-gen; do
  help=$(QT_QPA_PLATFORM=offscreen "$root/usr/bin/$program" --help 2>&1) || fail "$program --help"
  [[ $help == Aufruf:* && $help != *Usage* && $help != *Displays* ]] ||
    fail "$program --help is not German: ${help%%$'\n'*}"
done
"${dpkg[@]}" -r meldlux >/dev/null 2>"$work/dpkg.err" || fail "dpkg -r: $(cat "$work/dpkg.err")"
left=$(if [ -d "$root/usr" ]; then find "$root/usr" -type f | head -5; fi)
[ -z "$left" ] || fail "left after removal: $left"

if [ "$failures" -eq 0 ]; then echo "package $(basename "$deb") checked"; fi
exit $((failures > 0))
