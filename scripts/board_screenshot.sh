#!/usr/bin/env bash
# Takes the guide's picture of the board (docs/images/fahrzeugstatus.png) from the real program
# on a virtual screen: the sample data, a journal holding a day of made-up statuses of the sample
# vehicles, the window opened with the main window's "Fahrzeugstatus" button.
# Needs a build (bash scripts/build.sh).
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
meldlux=
cleanup() {
  [ -z "$meldlux" ] || kill "$meldlux" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$out" "$work/data" "$work/config/meldlux" "$work/journal"
build/bin/meldlux-refdata sample "$work/data" >/dev/null
printf '[Einstellungen]\nAutoConnect=0\nMsgAktiv=0\n[Journal]\nFolder=%s\n' "$work/journal" \
  >"$work/config/meldlux/MeldluxWBR.ini"
run() {
  (cd "$work/data" && XDG_CONFIG_HOME="$work/config" exec "$top/build/bin/meldlux") \
    >>"$work/meldlux.log" 2>&1 &
  meldlux=$!
}

# A first run makes the journal file; then a day of statuses goes in beside it.
QT_QPA_PLATFORM=offscreen run
for _ in $(seq 50); do [ -s "$work/journal/journal.sqlite" ] && break; sleep 0.1; done
kill -TERM "$meldlux"; wait "$meldlux" || true; meldlux=
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
for _ in $(seq 100); do
  window=$(xdotool search --onlyvisible --name "^FMS Meldlux" 2>/dev/null | head -n1 || true)
  [ -n "$window" ] && break
  sleep 0.1
done
sleep 1
eval "$(xdotool getwindowgeometry --shell "$window")"
# The button sits at the bottom left, below the frames.
xdotool mousemove $((X + 50)) $((Y + HEIGHT - 22)) click 1
for _ in $(seq 50); do
  board=$(xdotool search --onlyvisible --name "^Fahrzeugstatus$" 2>/dev/null | head -n1 || true)
  [ -n "$board" ] && break
  sleep 0.1
done
[ -n "$board" ] || { echo "the board did not open" >&2; exit 1; }
xdotool windowmove "$board" 0 0
sleep 1
eval "$(xdotool getwindowgeometry --shell "$board")"
build/bin/meldlux-screenshot "$out/fahrzeugstatus.png" "$X" "$Y" "$WIDTH" "$HEIGHT"
kill -TERM "$meldlux"; wait "$meldlux" || true; meldlux=
