#!/usr/bin/env bash
# The main window's text boxes show their text under Wine: meldlux.exe starts in a fresh prefix
# with a server address in the registry, and tesseract must read that address from a picture of
# the window. Wine here has none of its own fonts, so Windows' dialog font is missing, as on a
# Linux machine without the fonts-wine package. At the usual 96 dpi, where the fault shows; the
# picture is taken three times as large, so that tesseract reads the small dialog text.
#   text_fields.sh MELDLUX_EXE LINUX_BIN WORK
set -euo pipefail
exe=$1 linux=$2 work=$3
source "$(dirname "$0")/common.sh" "$work"

Xvfb -displayfd 3 -screen 0 1280x720x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 200); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=:$(head -n1 "$work/display")

wineboot -i >/dev/null 2>&1
key='HKCU\Software\VB and VBA Program Settings\MeldluxWBR\Server'
wine reg add "$key" /v Adresse /d leitstelle.example /f >/dev/null
wine reg add "$key" /v Port /d 7999 /f >/dev/null
wineserver -w

"$linux/meldlux-refdata" sample "$work/data" >/dev/null
(cd "$work/data" && exec wine "$exe") >"$work/meldlux.log" 2>&1 &
pids+=($!)
window=$(timeout 120 xdotool search --sync --onlyvisible --name '^FMS Meldlux' | head -n1) ||
  fail "the main window did not open"
sleep 3 # its first paint
eval "$(xdotool getwindowgeometry --shell "$window")"
"$linux/meldlux-screenshot" "$work/main.png" "$X" "$Y" "$WIDTH" "$HEIGHT" 3 >/dev/null
read=$(tesseract "$work/main.png" - -l deu 2>/dev/null | tr -s ' \n' '  ')
for text in Adresse: leitstelle 7999; do
  grep -qF -- "$text" <<<"$read" || fail "\"$text\" not read from $work/main.png; read: $read"
done
echo "read: Adresse: leitstelle 7999"
