#!/usr/bin/env bash
# Takes the guide's pictures of the history window (docs/images/verlauf.png) and of the board
# (docs/images/fahrzeugstatus.png) from the real program on a virtual screen, with the sample
# data: first the simulator plays its sample scenario into a fresh journal and the main window's
# "Verlauf" button opens the history; then a day of made-up statuses of the sample vehicles goes
# into the journal beside it and the "Fahrzeugstatus" button opens the board.
# Needs a build (bash scripts/build.sh); scripts/screenshots.sh runs it after its own pictures.
set -euo pipefail
cd "$(dirname "$0")/.."
width=1280 height=800
if [ -z "${MELDLUX_SHOTS_DISPLAY:-}" ]; then
  MELDLUX_SHOTS_DISPLAY=1 exec xvfb-run -a -s "-screen 0 ${width}x${height}x24 -nolisten tcp" \
    bash "$0" "$@"
fi

top=$PWD
out=$top/docs/images
work=$(mktemp -d)
meldlux= sim=
cleanup() {
  [ -z "$meldlux" ] || kill "$meldlux" 2>/dev/null || true
  [ -z "$sim" ] || kill "$sim" 2>/dev/null || true
  [ -n "${MELDLUX_SHOTS_KEEP:-}" ] || rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$out" "$work/data" "$work/config/meldlux" "$work/journal"
build/bin/meldlux-refdata sample "$work/data" >/dev/null
run() {
  (cd "$work/data" && XDG_CONFIG_HOME="$work/config" exec "$top/build/bin/meldlux") \
    >>"$work/meldlux.log" 2>&1 &
  meldlux=$!
}
stop() { kill -TERM "$meldlux"; wait "$meldlux" || true; meldlux=; }
# window TITLE-PATTERN waits for a visible window of that title and sets window to its id.
window() {
  window=
  for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 || true)
    [ -n "$window" ] && return 0
    sleep 0.1
  done
  echo "no window \"$1\" showed" >&2
  exit 1
}
# shoot BUTTON-FROM-LEFT TITLE-PATTERN FILE clicks the main window's button in the bottom row that
# sits that many pixels from its left edge and saves a picture of the window it opens.
shoot() {
  window "^FMS Meldlux"
  sleep 1
  eval "$(xdotool getwindowgeometry --shell "$window")"
  xdotool mousemove $((X + $1)) $((Y + HEIGHT - 22)) click 1
  window "$2"
  xdotool windowmove "$window" 0 0
  sleep 1
  eval "$(xdotool getwindowgeometry --shell "$window")"
  build/bin/meldlux-screenshot "$out/$3" "$X" "$Y" "$WIDTH" "$HEIGHT"
}

# The history: the sample scenario, played once, fills the journal.
source scripts/simulator.sh
start_simulator 7778 "$work/sim.log" --scenario tools/decoder-sim/sample.scenario ||
  { echo "no free port for the simulator" >&2; exit 1; }
write_settings "$work/config/meldlux/MeldluxWBR.ini" "$port" "" "$top/build/share/meldlux/sounds" 1
printf '[Journal]\nFolder=%s\n' "$work/journal" >>"$work/config/meldlux/MeldluxWBR.ini"
QT_QPA_PLATFORM=xcb run
sleep 26 # the scenario's pauses add up to 22 s
shoot 155 "^Verlauf$" verlauf.png
stop
kill "$sim"; wait "$sim" || true; sim=

# The board: a day of statuses beside what the scenario wrote, and no link.
printf '[Einstellungen]\nAutoConnect=0\nMsgAktiv=0\n[Journal]\nFolder=%s\n' "$work/journal" \
  >"$work/config/meldlux/MeldluxWBR.ini"
python3 - "$work/journal/journal.sqlite" <<'PY'
import datetime, random, sqlite3, sys
random.seed(7)
now = (datetime.datetime.now() - datetime.datetime(1899, 12, 30)).total_seconds() / 86400
vehicles = ["64121011", "64124411", "64124412", "64123311", "64122311", "64125211",
            "64124421", "64134731", "94128271", "94128371", "94128372", "94128571",
            "84128372", "A4128373", "B4128574", "74125221"]
rows = []
for v in vehicles:
    t = now - 1.2 + random.random() * 0.2
    status = 2
    rows.append((t, v, status))
    while True:
        if status in (2, 1) and random.random() < 0.5:
            path = [3, 4, 7, 8, 1] if v[0] in "89AB" else [3, 4, 1]
        else:
            path = [random.choice([1, 2, 6])]
        done = False
        for s in path:
            t += random.uniform(0.01, 0.12)
            if t >= now - 0.002:
                done = True
                break
            rows.append((t, v, s))
            status = s
        if done:
            break
rows.append((now - 0.5, "6F115533", 2))  # one that is not in the vehicle table
rows.append((now - 0.01, "6F115533", 6))
db = sqlite3.connect(sys.argv[1])
db.executemany(
    "INSERT INTO telegrams (arrival, telegram_time, kind, identifier, name, status, direction,"
    " message, line, colour) VALUES (?, ?, 1, ?, '', ?, 1, '', '', 0)",
    [(t, t, v, s) for t, v, s in sorted(rows)])
db.commit()
PY

QT_QPA_PLATFORM=xcb run
shoot 50 "^Fahrzeugstatus$" fahrzeugstatus.png
stop
