#!/usr/bin/env bash
# Lays out the Windows installation in STAGE and turns it into the installer with makensis.
#   make-installer.sh BIN SOUNDS SOURCE VERSION OUTFILE
# BIN: the built programs with their runtime (build-windows/bin); SOUNDS: the default sounds;
# SOURCE: the source tree.
set -euo pipefail
bin=$1 sounds=$2 source=$3 version=$4 outfile=$5
work=$(dirname "$outfile")/installer
stage=$work/stage
rm -rf "$work" && mkdir -p "$stage/bin" "$stage/share/meldlux/sounds" "$stage/doc"

for program in meldlux meldlux-refdata meldlux-decoder-sim meldlux-journal; do
  cp "$bin/$program.exe" "$stage/bin/"
done
cp "$bin"/*.dll "$stage/bin/"
for dir in platforms sqldrivers styles tls imageformats translations; do
  cp -r "$bin/$dir" "$stage/bin/"
done
x86_64-w64-mingw32-strip --strip-unneeded "$stage"/bin/*.exe "$stage"/bin/*.dll
cp "$sounds"/*.wav "$stage/share/meldlux/sounds/"
cp "$source/tools/decoder-sim/sample.scenario" "$stage/share/meldlux/"
cp "$source/docs/BEDIENUNG.md" "$source/README.md" "$source/LICENSE" "$stage/doc/"

# The install lines, folder by folder, and the uninstall lines for exactly those files, deepest
# folders last; RMDir without /r leaves a folder that still holds anything else.
files=$work/files.nsh
{
  echo '!macro InstallFiles'
  (cd "$stage" && find . -type d | sort) | while read -r dir; do
    rel=${dir#./}; rel=${rel#.}
    echo "  SetOutPath \"\$INSTDIR${rel:+\\${rel//\//\\}}\""
    (cd "$stage/$dir" && find . -maxdepth 1 -type f | sort) | while read -r f; do
      echo "  File \"$stage/${rel:+$rel/}${f#./}\""
    done
  done
  echo '!macroend'
  echo '!macro UninstallFiles'
  (cd "$stage" && find . -type f | sort) | while read -r f; do
    rel=${f#./}
    echo "  Delete \"\$INSTDIR\\${rel//\//\\}\""
  done
  (cd "$stage" && find . -mindepth 1 -type d | sort -r) | while read -r dir; do
    rel=${dir#./}
    echo "  RMDir \"\$INSTDIR\\${rel//\//\\}\""
  done
  echo '!macroend'
} > "$files"

makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DFILES="$files" -DOUTFILE="$outfile" \
  "$source/packaging/windows/meldlux.nsi"
