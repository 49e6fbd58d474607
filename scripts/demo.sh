#!/usr/bin/env bash
# Sets up, builds and runs Meldlux against the built-in decoder simulator with sample data: the
# sample reference files of both server products go to build/demo/data (the program's working
# directory), the simulator plays tools/decoder-sim/sample.scenario in a loop, and Meldlux
# connects to it automatically. Settings live in build/demo/config, not in your own; they name
# the default alert sounds built into build/share/meldlux/sounds.
# With a display it runs until you close it. Without one it runs for MELDLUX_DEMO_SECONDS (20) on
# a virtual screen (Xvfb), saves a picture of that screen to build/demo/screen.png, prints the
# last lines Meldlux showed, ends it the orderly way (SIGTERM: settings saved, goodbye lines to
# the server) and exits 0. MELDLUX_EVENT_LOG=/tmp/events.log keeps the program's event log there.
set -euo pipefail
cd "$(dirname "$0")/.."
funk=0
[ "${1:-}" != --funk ] || funk=1
bash scripts/setup.sh --demo
# Only what the demo runs; a build folder set up before (by scripts/test.sh) keeps its tests.
[ -f build/CMakeCache.txt ] ||
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMELDLUX_BUILD_TESTS=OFF \
    -DMELDLUX_BUILD_BENCH=OFF >/dev/null
targets=(meldlux meldlux-refdata meldlux-screenshot meldlux_desktop_data)
if [ "$funk" = 1 ]; then targets+=(meldlux-multimon meldlux-signal-gen); else targets+=(meldlux-decoder-sim); fi
cmake --build build --target "${targets[@]}"

top=$PWD
demo=$top/build/demo
sounds=$top/build/share/meldlux/sounds
rm -rf "$demo" && mkdir -p "$demo/data" "$demo/config/meldlux"
build/bin/meldlux-refdata sample "$demo/data" >/dev/null

pids=()
cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT

# The simulator (or the bridge) on the program's default port, or the next free one when another
# program has it.
source scripts/simulator.sh
if [ "$funk" = 1 ]; then
  shift
  decoder="multimon-ng -q -t raw -a POCSAG512 -a POCSAG1200 -a POCSAG2400 -a ZVEI1 -a FMSFSK -"
  start_bridge "${MELDLUX_DEMO_PORT:-7778}" "$demo/sim.log" --password demo --heartbeat 20 \
    --run "build/bin/meldlux-signal-gen --scenario tools/signal_gen/sample.scenario | $decoder"
else
  start_simulator "${MELDLUX_DEMO_PORT:-7778}" "$demo/sim.log" --password demo --heartbeat 20 \
    --scenario tools/decoder-sim/sample.scenario --loop
fi || { echo "Kein freier Port für den Server:" >&2; cat "$demo/sim.log" >&2; exit 1; }
pids+=("$sim")
write_settings "$demo/config/meldlux/MeldluxWBR.ini" "$port" demo "$sounds" 1

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  cd "$demo/data"
  XDG_CONFIG_HOME="$demo/config" "$top/build/bin/meldlux" "$@"
  exit
fi

# No display: a virtual one, a fixed run time, a screenshot and an orderly end.
started=$SECONDS
seconds=${MELDLUX_DEMO_SECONDS:-20}
events=${MELDLUX_EVENT_LOG:-$demo/events.log}
shot=$demo/screen.png
Xvfb -displayfd 3 -screen 0 1280x720x24 -nolisten tcp 3>"$demo/display" 2>"$demo/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$demo/display" ] && break; sleep 0.1; done
[ -s "$demo/display" ] || { echo "Xvfb startete nicht (siehe $demo/xvfb.log)" >&2; exit 1; }
export DISPLAY=:$(head -n1 "$demo/display")

(cd "$demo/data" && MELDLUX_EVENT_LOG="$events" XDG_CONFIG_HOME="$demo/config" \
   exec "$top/build/bin/meldlux" "$@") >"$demo/meldlux.log" 2>&1 &
meldlux=$!
pids+=("$meldlux")
echo "Meldlux läuft ohne Bildschirm auf DISPLAY=$DISPLAY, $seconds Sekunden lang ..."
sleep $((seconds > 2 ? seconds - 2 : 1))
build/bin/meldlux-screenshot "$shot" >"$demo/screenshot.log" 2>&1 || cat "$demo/screenshot.log" >&2
sleep 1

if ! kill -TERM "$meldlux" 2>/dev/null; then
  echo "Meldlux endete vorzeitig:" >&2
  tail -n 20 "$demo/meldlux.log" >&2
  exit 1
fi
for _ in $(seq 100); do kill -0 "$meldlux" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$meldlux" 2>/dev/null; then
  echo "Meldlux endete nicht auf SIGTERM" >&2
  exit 1
fi
status=0
wait "$meldlux" || status=$?

# Event-log fields are TAB-separated: message <time> <colour> <text>.
echo "Zuletzt angezeigte Zeilen:"
grep $'^message\t' "$events" | tail -n 8 | cut -f2,4 | sed 's/\t/  /; s/^/  /' || true
echo "Beim Beenden:"
grep -E $'^(saved|sent)' "$events" | tail -n 3 | sed 's/\t/ /; s/^/  /' || true
[ -s "$shot" ] && echo "Bildschirmfoto: $shot" || status=1
echo "Dauer: $((SECONDS - started)) s, Meldlux beendet mit Status $status"
exit "$status"
