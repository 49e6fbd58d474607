# Sourced by the demo and screenshot scripts: start_simulator FIRST_PORT LOG [ARGS...] starts
# build/bin/meldlux-decoder-sim with ARGS on FIRST_PORT, or on the next free port when another
# program holds it, and sets sim (its process id) and port. Returns 1 when no port up to
# FIRST_PORT + 20 was free.
start_simulator() {
  local first=$1 log=$2
  shift 2
  for port in $(seq "$first" $((first + 20))); do
    build/bin/meldlux-decoder-sim --port "$port" "$@" >"$log" 2>&1 &
    sim=$!
    sleep 0.5
    if kill -0 "$sim" 2>/dev/null; then return 0; fi
  done
  return 1
}
