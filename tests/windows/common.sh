# What the Windows tests' scripts share (sourced): a Wine prefix of their own in WORK, the
# processes they start ended on exit, with Wine's server.
#   source common.sh WORK
rm -rf "$1" && mkdir -p "$1"
export WINEPREFIX=$1/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=C.UTF-8
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wineserver -k 2>/dev/null || true
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
