#!/usr/bin/env bash
# Sets up, builds and runs Meldlux against the built-in decoder simulator with sample data: the
# sample reference files of both server products go to build/demo/data (the program's working
# directory), the simulator plays tools/decoder-sim/sample.scenario in a loop, and Meldlux
# connects to it automatically. Settings live in build/demo/config, not in your own.
# Without a display the program runs on a virtual one (xvfb-run); MELDLUX_EVENT_LOG shows what
# it does: MELDLUX_EVENT_LOG=/tmp/events.log bash scripts/demo.sh
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh

demo=build/demo
port=${MELDLUX_DEMO_PORT:-7778}
rm -rf "$demo" && mkdir -p "$demo/data" "$demo/config/meldlux"
build/bin/meldlux-refdata sample "$demo/data" >/dev/null
cat > "$demo/config/meldlux/MeldluxWBR.ini" <<INI
[Server]
Adresse=127.0.0.1
Port=$port
PW=demo
[Einstellungen]
AutoConnect=1
MsgLines=5
MsgTime=0
MsgPosition=1
INI

build/bin/meldlux-decoder-sim --port "$port" --password demo --heartbeat 20 \
  --scenario tools/decoder-sim/sample.scenario --loop >"$demo/sim.log" 2>&1 &
sim=$!
trap 'kill $sim 2>/dev/null || true' EXIT

run=()
[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] || run=(xvfb-run -a)
cd "$demo/data"
XDG_CONFIG_HOME="$PWD/../config" "${run[@]}" ../../bin/meldlux "$@"
