#!/usr/bin/env bash
# Takes the guide's pictures of the hall monitor (docs/images/alarmmonitor-ruhe.png, idle, and
# docs/images/alarmmonitor-alarm.png, in an alarm) on a virtual X screen with the sample data,
# and reads them back with tesseract (German): each must show its texts, or the script fails.
# Needs a build (bash scripts/build.sh) and tesseract-ocr with tesseract-ocr-deu.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${MELDLUX_SHOTS_DISPLAY:-}" ]; then
  MELDLUX_SHOTS_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1280x720x24 -nolisten tcp" bash "$0" "$@"
fi

top=$PWD
out=$top/docs/images
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out" "$work/data" "$work/config/meldlux"
build/bin/meldlux-refdata sample "$work/data" >/dev/null
# A station's own vehicles, by identifier and by name; no link.
printf '[Einstellungen]\nAutoConnect=0\n[Journal]\nEnabled=0\n[Alarmmonitor]\nFahrzeuge=%s\n' \
  "64121011,64124411,64124412,94128371,Florian Musterstadt 1/11-1,Florian Musterstadt 1/33-1" \
  >"$work/config/meldlux/MeldluxWBR.ini"
(cd "$work/data" && XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/share" QT_QPA_PLATFORM=xcb \
  "$top/build/bin/meldlux-monitor-shot" "$out" 1280x720)

# expect FILE TEXT...: tesseract must read every TEXT on the picture.
expect() {
  local file=$1 read
  shift
  read=$(tesseract "$out/$file" - -l deu 2>/dev/null | tr -s ' \n' '  ')
  for text in "$@"; do
    if ! grep -qF -- "$text" <<<"$read"; then
      echo "$file: \"$text\" not read; read: $read" >&2
      exit 1
    fi
  done
  echo "$file: read $*"
}
expect alarmmonitor-ruhe.png "Letzte Alarme" "$(LC_ALL=de_DE.UTF-8 date +%Y)" "Feuerwehr Musterstadt Vollalarm" \
  "Florian Musterstadt 1/33-1"
expect alarmmonitor-alarm.png "seit 01:35" "FF Musterstadt Vollalarm" "Wohnungsbrand Hauptstraße 12" \
  "Menschenleben in Gefahr"
