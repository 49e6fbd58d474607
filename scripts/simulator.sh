# Sourced by the demo and screenshot scripts, which run Meldlux with sample data against the
# simulator.
#
# start_simulator FIRST_PORT LOG [ARGS...] starts
# build/bin/meldlux-decoder-sim with ARGS on FIRST_PORT, or on the next free port when another
# program holds it, and sets sim (its process id) and port. Returns 1 when no port up to
# FIRST_PORT + 20 was free. start_bridge does the same with build/bin/meldlux-multimon.
start_simulator() { start_server meldlux-decoder-sim "$@"; }
start_bridge() { start_server meldlux-multimon "$@"; }

start_server() {
  local program=$1 first=$2 log=$3 where
  shift 3
  for port in $(seq "$first" $((first + 20))); do
    where=(--port "$port")
    [ "$program" != meldlux-multimon ] || where=(--listen "127.0.0.1:$port")
    build/bin/$program "${where[@]}" "$@" >"$log" 2>&1 &
    sim=$!
    sleep 0.5
    if kill -0 "$sim" 2>/dev/null; then return 0; fi
  done
  return 1
}

# write_settings FILE PORT PASSWORD SOUNDS FMSTEXT [LINE...] writes Meldlux's settings for such a
# run: connect to the simulator by itself, five lines at the bottom edge that stay, the four
# alert sounds from the folder SOUNDS (FMSTEXT 1 or 0 for the text sound), and any further
# "key=value" LINEs under [Einstellungen].
write_settings() {
  local file=$1 port=$2 password=$3 sounds=$4 fmstext=$5
  shift 5
  {
    printf '[Server]\nAdresse=127.0.0.1\nPort=%s\nPW=%s\n' "$port" "$password"
    printf '[Einstellungen]\nAutoConnect=1\nMsgLines=5\nMsgTime=0\nMsgPosition=1\n'
    [ $# -eq 0 ] || printf '%s\n' "$@"
    printf '[Sounds]\nAlarm=1\nAlarmFile=%s/alarm.wav\n' "$sounds"
    printf 'StatusFzg=1\nStatusFzgFile=%s/status.wav\n' "$sounds"
    printf 'FMSText=%s\nFMSTextFile=%s/text.wav\n' "$fmstext" "$sounds"
    printf 'SA=1\nSAFile=%s/sprechaufforderung.wav\n' "$sounds"
  } >"$file"
}
