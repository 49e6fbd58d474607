#!/usr/bin/env bash
# Takes the user guide's pictures (docs/bilder/*.png) from the real program on a virtual screen:
# Meldlux with the sample data, connected to the decoder simulator, a notification area (trayer)
# at the top right; the options window, the strip at the bottom edge and the opened tray menu.
# Then scripts/journal_screenshots.sh takes the pictures of the history and the board.
set -euo pipefail
cd "$(dirname "$0")/.."
width=1024 height=600 trayheight=24
if [ -z "${MELDLUX_SHOTS_DISPLAY:-}" ]; then
  bash scripts/setup.sh
  bash scripts/build.sh
  MELDLUX_SHOTS_DISPLAY=1 exec xvfb-run -a -s "-screen 0 ${width}x${height}x24 -nolisten tcp" \
    bash "$0" "$@"
fi

top=$PWD
out=$top/docs/bilder
work=$(mktemp -d)
pids=()
cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$out" "$work/data" "$work/config/meldlux"
build/bin/meldlux-refdata sample "$work/data" >/dev/null
source scripts/simulator.sh
start_simulator 7778 "$work/sim.log" --password geheim \
  --scenario tools/decoder-sim/sample.scenario || { cat "$work/sim.log" >&2; exit 1; }
pids+=("$sim")
# The sound paths an installed program would use.
write_settings "$work/config/meldlux/MeldluxWBR.ini" "$port" geheim /usr/share/meldlux/sounds 0 \
  PWChar=*

trayer --edge top --align right --widthtype request --height "$trayheight" >/dev/null 2>&1 &
pids+=($!)
(cd "$work/data" && XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb \
   exec "$top/build/bin/meldlux") >"$work/meldlux.log" 2>&1 &
meldlux=$!
pids+=("$meldlux")
# Connected after about 4 s; the scenario's alarms arrive about 14 s later.
sleep 19

shot() { build/bin/meldlux-screenshot "$@" >/dev/null; }
window=$(xdotool search --onlyvisible --name "^FMS Meldlux" | head -n1)
eval "$(xdotool getwindowgeometry --shell "$window")"
shot "$out/optionen.png" "$X" "$Y" "$WIDTH" "$HEIGHT"
shot "$out/leiste.png" 0 $((height - 100)) "$width" 100
shot "$out/bildschirm.png"
# The tray menu opens at the mouse, below the icon at the right end of the top edge.
xdotool mousemove $((width - trayheight / 2)) $((trayheight / 2)) click 3
sleep 1
shot "$out/traymenue.png" $((width - 240)) 0 240 190
xdotool key Escape

kill -TERM "$meldlux"
wait "$meldlux" || true
ls -l "$out"
# The history and the board, each on a screen of its own size.
env -u MELDLUX_SHOTS_DISPLAY bash scripts/journal_screenshots.sh
# The hall monitor, idle and in an alarm, read back by tesseract.
env -u MELDLUX_SHOTS_DISPLAY bash scripts/monitor_screenshots.sh
