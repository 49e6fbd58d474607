#!/usr/bin/env bash
# The program's own figures, measured on the real meldlux against the decoder simulator with the
# maximum data set of both server products (meldlux-refdata sample --max). Not run in CI: it takes
# minutes (the soak an hour) and its numbers depend on the machine.
#
#   bash bench/program.sh startup [RUNS]    start to popup armed and to first connect, peak RSS
#   bash bench/program.sh idle [SECONDS]    CPU and X traffic while connected, heartbeats only
#   bash bench/program.sh burst LINES       LINES telegrams in one burst: time, stall, rate, RSS
#   bash bench/program.sh soak [MINUTES] [RATE]   default 60 minutes at 50 telegrams/s
#
# MELDLUX_BENCH_JOURNAL=0 runs the program without its journal (default 1: on, in the run's own
# folder), so that the two can be compared.
#
# Results go to stdout and to build/bench-program/<test>/. Build first (bash scripts/build.sh).
# The program runs on its own Xvfb so that repaints show as X requests. Timestamps come from
# strace (start-up, idle) or perf trace (bursts), which watch system calls from outside; the
# program itself has no probe built in.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=${MELDLUX_BIN:-$root/build/bin}
out=${MELDLUX_BENCH_DIR:-$root/build/bench-program}
here=$root/bench
port=${MELDLUX_BENCH_PORT:-17778}

started=()
cleanup() {
  local pid
  for pid in "${started[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${started[@]}"; do wait "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT

# A data directory with the maximum data set and a settings store that connects at once.
prepare() {
  dir=$out/$1
  rm -rf "$dir" && mkdir -p "$dir/data" "$dir/config/meldlux"
  "$bin/meldlux-refdata" sample --max "$dir/data" >/dev/null
  cat >"$dir/config/meldlux/MeldluxWBR.ini" <<INI
[Server]
Adresse=127.0.0.1
Port=$port
[Einstellungen]
AutoConnect=1
MsgLines=5
MsgTime=0
MsgPosition=1
[Journal]
Enabled=${MELDLUX_BENCH_JOURNAL:-1}
Folder=$dir/journal
INI
}

start_x() {
  Xvfb -displayfd 7 -screen 0 1280x1024x24 -nolisten tcp 7>"$dir/display" 2>"$dir/xvfb.log" &
  started+=($!)
  for _ in $(seq 100); do [ -s "$dir/display" ] && break; sleep 0.05; done
  export DISPLAY=:$(head -n1 "$dir/display")
}

start_sim() {
  : >"$dir/sim.log" # appended to, so that it can be emptied between runs
  "$bin/meldlux-decoder-sim" --port "$port" "$@" >>"$dir/sim.log" 2>&1 &
  sim=$!
  started+=($sim)
  for _ in $(seq 100); do grep -q listening "$dir/sim.log" 2>/dev/null && return; sleep 0.05; done
  grep -q . "$dir/sim.log" # some first line at least
}

# Starts meldlux in the data directory, optionally under a tracer given as arguments; sets $app
# to the program's own process id.
start_app() {
  : >"$dir/events.log"
  (cd "$dir/data" && exec env XDG_CONFIG_HOME="$dir/config" XDG_DATA_HOME="$dir/xdg-data" MELDLUX_EVENT_LOG="$dir/events.log" \
    QT_QPA_PLATFORM=xcb "$@" "$bin/meldlux") >"$dir/app.log" 2>&1 &
  outer=$!
  started+=($outer)
  app=
  for _ in $(seq 200); do
    app=$(pgrep -n -x meldlux -P "$outer" 2>/dev/null || true)
    [ -z "$app" ] && [ "$(cat /proc/$outer/comm 2>/dev/null)" = meldlux ] && app=$outer
    [ -n "$app" ] && break
    sleep 0.01
  done
  [ -n "$app" ] || { echo "meldlux did not start" >&2; exit 1; }
}

wait_connected() {
  for _ in $(seq 600); do grep -q 'logged in' "$dir/sim.log" && return; sleep 0.05; done
  echo "meldlux did not connect" >&2
  exit 1
}

# The receive count in the status line's last caption.
received() {
  grep '^status.*Empfangen' "$dir/events.log" | tail -n1 | sed -n 's/.*Empfangen: \([0-9]*\).*/\1/p'
}

# "rss_kB hwm_kB cpu_ticks" of a process.
sample() {
  local rss hwm ticks
  rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$1/status")
  hwm=$(awk '/^VmHWM:/ {print $2}' "/proc/$1/status")
  ticks=$(awk '{sub(/^.*\) /, ""); print $12 + $13}' "/proc/$1/stat")
  echo "$rss $hwm $ticks"
}

stop_app() {
  kill -TERM "$app" 2>/dev/null || true
  for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.05; done
}

# Descriptor kinds of the running program, as "fd=kind" words: the event log, the link's TCP
# socket, other sockets (the X server), event fds (Qt's wake-ups).
fd_kinds() {
  local fd target tcp
  tcp=$(awk 'NR > 1 {print $10}' /proc/net/tcp /proc/net/tcp6 | sort -u)
  for fd in /proc/"$app"/fd/*; do
    target=$(readlink "$fd" || true)
    case "$target" in
    "$dir/events.log") echo "${fd##*/}=event-log" ;;
    socket:*)
      if grep -qx "${target//[^0-9]/}" <<<"$tcp"; then echo "${fd##*/}=link-socket"
      else echo "${fd##*/}=unix-socket(X)"; fi ;;
    *eventfd*) echo "${fd##*/}=eventfd" ;;
    esac
  done
}

startup() {
  local runs=${1:-5} i shown armed connect hwm
  prepare startup
  start_x
  start_sim --heartbeat 10
  echo "run popup_shown_ms popup_armed_ms first_connect_ms peak_rss_kB" >"$dir/runs.txt"
  for i in $(seq "$runs"); do
    rm -f "$dir/trace.$i"
    start_app strace -f --seccomp-bpf -ttt -s 100 -e trace=execve,connect,write -o "$dir/trace.$i"
    local real=$app
    wait_connected
    sleep 2
    hwm=$(sample "$real" | cut -d' ' -f2)
    app=$real stop_app
    wait "$outer" || true
    read -r shown armed connect < <(python3 "$here/trace_figures.py" startup "$dir/trace.$i" "$real")
    echo "$i $shown $armed $connect $hwm" | tee -a "$dir/runs.txt"
    # The simulator counts logins: start the next run with a fresh log line to wait for.
    : >"$dir/sim.log"
  done
  {
    echo "start to popup first shown, ms: $(column_summary 2)"
    echo "start to popup armed (end of start-up), ms: $(column_summary 3)"
    echo "start to first connect, ms: $(column_summary 4)"
    echo "peak RSS 2 s after connect, kB: $(column_summary 5)"
  } | tee "$dir/result.txt"
}

# "median M (min A, max B) over N runs" of one column of runs.txt.
column_summary() {
  tail -n +2 "$dir/runs.txt" | awk -v c="$1" '{print $c}' | sort -n |
    awk '{v[NR] = $1} END {printf "median %s (min %s, max %s) over %d runs", v[int((NR + 1) / 2)], v[1], v[NR], NR}'
}

idle() {
  local seconds=${1:-60} hz
  hz=$(getconf CLK_TCK)
  prepare idle
  start_x
  start_sim --heartbeat 10
  start_app
  wait_connected
  sleep 5
  read -r _ _ ticks0 < <(sample "$app")
  sleep "$seconds"
  read -r _ hwm ticks1 < <(sample "$app")
  # A second window under strace: what the idle program writes, and how often its loop wakes.
  timeout -s INT "$seconds" strace -f -p "$app" -ttt -e trace=poll,ppoll,write,writev,sendmsg,sendto \
    -o "$dir/trace" 2>/dev/null || true
  {
    awk -v t="$((ticks1 - ticks0))" -v hz="$hz" -v s="$seconds" \
      'BEGIN {printf "idle CPU, connected, heartbeats every 10 s: %.2f s in %d s = %.2f %% of one core\n", t / hz, s, 100 * t / hz / s}'
    echo "peak RSS: $hwm kB"
    python3 "$here/trace_figures.py" idle "$dir/trace" "$app" $(fd_kinds)
  } | tee "$dir/result.txt"
  stop_app
}

# Sends LINES generated telegrams as fast as the simulator makes them, right after the login, and
# traces the program with perf trace (no stops, unlike strace).
burst() {
  local lines=$1 before after
  prepare "burst-$lines"
  start_x
  # A million per second for LINES / 1e6 s: the whole burst comes in the first ticks.
  start_sim --rate 1000000 --duration "$(awk -v n="$lines" 'BEGIN {print n / 1e6}')" --seed 3
  start_app
  read -r before _ _ < <(sample "$app")
  perf trace -m 16384 -p "$app" -e poll,ppoll,read,recvfrom,write,connect -o "$dir/trace" &
  local tracer=$!
  started+=($tracer)
  wait_connected
  local logfd
  logfd=$(fd_kinds | sed -n 's/=event-log$//p')
  # Done when the status line's count has stood still for two seconds. A line that a read
  # boundary cuts in two is lost by design, so the count may end a little below LINES.
  local count last= still=0
  for _ in $(seq 1200); do
    count=$(received)
    if [ -n "$count" ] && [ "$count" = "$last" ]; then still=$((still + 1)); else still=0; fi
    [ $still -ge 20 ] && break
    last=$count
    sleep 0.1
  done
  read -r after hwm _ < <(sample "$app")
  kill -INT "$tracer" 2>/dev/null || true
  wait "$tracer" 2>/dev/null || true
  local handled
  handled=$(received)
  sleep 5
  read -r settled _ _ < <(sample "$app")
  stop_app
  read -r took stall < <(python3 "$here/trace_figures.py" burst "$dir/trace" "$app" "$logfd")
  {
    echo "burst of $lines lines: $handled handled (a line cut by a read boundary is lost by design)"
    echo "first block received to last line handled: $took ms"
    awk -v n="$handled" -v ms="$took" 'BEGIN {printf "rate: %.0f telegrams/s\n", n * 1000 / ms}'
    echo "longest event-loop stall: $stall ms"
    echo "RSS before $before kB, right after $after kB, 5 s later $settled kB, peak $hwm kB"
    if [ -f "$dir/journal/journal.sqlite" ]; then
      echo "journal: $("$bin/meldlux-journal" stats --file "$dir/journal/journal.sqlite" |
        awk -F';' 'NR > 1 {n += $3} END {print n + 0}') rows," \
        "$(du -cb "$dir/journal"/journal.sqlite* | tail -n1 | cut -f1) bytes with its WAL"
    else
      echo "journal: off"
    fi
  } | tee "$dir/result.txt"
}

soak() {
  local minutes=${1:-60} rate=${2:-50}
  prepare soak
  start_x
  start_sim --heartbeat 10 --rate "$rate" --seed 7
  start_app
  wait_connected
  local hz seconds=$((minutes * 60)) t=0
  hz=$(getconf CLK_TCK)
  sleep 5
  read -r rss0 hwm0 ticks0 < <(sample "$app")
  echo "minute rss_kB hwm_kB cpu_ticks" >"$dir/samples.txt"
  echo "0 $rss0 $hwm0 $ticks0" >>"$dir/samples.txt"
  while [ $t -lt $seconds ]; do
    sleep 60
    t=$((t + 60))
    kill -0 "$app" 2>/dev/null || { echo "meldlux ended during the soak" >&2; exit 1; }
    echo "$((t / 60)) $(sample "$app")" >>"$dir/samples.txt"
  done
  read -r rss1 hwm1 ticks1 < <(sample "$app")
  local rss10
  rss10=$(awk '$1 == 10 {print $2}' "$dir/samples.txt")
  local handled
  handled=$(grep '^status' "$dir/events.log" | tail -n1 | sed -n 's/.*Empfangen: \([0-9]*\).*/\1/p')
  stop_app
  {
    echo "soak: $minutes min at $rate telegrams/s, $handled telegrams handled"
    echo "RSS start (5 s after connect): $rss0 kB; after 10 min: ${rss10:-n/a} kB; end: $rss1 kB"
    echo "peak RSS (VmHWM) at the end: $hwm1 kB"
    awk -v t="$((ticks1 - ticks0))" -v hz="$hz" -v s="$seconds" \
      'BEGIN {printf "CPU: %.1f s in %d s = %.2f %% of one core\n", t / hz, s, 100 * t / hz / s}'
    echo "per-minute samples: $dir/samples.txt"
  } | tee "$dir/result.txt"
}

case "${1:-}" in
startup) shift; startup "$@" ;;
idle) shift; idle "$@" ;;
burst) shift; burst "$@" ;;
soak) shift; soak "$@" ;;
*) sed -n '2,14p' "$0" | sed 's/^# \{0,1\}//'; exit 2 ;;
esac
