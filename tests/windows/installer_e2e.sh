#!/usr/bin/env bash
# The Windows installer end to end under Wine: installs silently into a fresh prefix, runs the
# installed meldlux.exe (working folder: the sample reference data) against the Linux simulator on
# 127.0.0.1 and compares its message lines with the Linux program's for the same scenario, ends it
# with a polite taskkill (WM_CLOSE) and checks the settings in the registry, the goodbye lines and
# the tray icon (shown in Wine's notification area while it runs, gone at the end),
# does the same for the end of the Windows session (a shut-down; one called off first, which must
# not end it), then uninstalls and checks that
# the folder is gone. Prints the figures.
#   installer_e2e.sh INSTALLER LINUX_BIN SOURCE WORK CANCELLED_SESSION_END_EXE WINDOW_ORDER_EXE
set -euo pipefail
installer=$1 linux=$2 source=$3 work=$4 cancelled=$5 window_order=$6
source "$(dirname "$0")/common.sh" "$work"
now() { date +%s.%N; }
since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.2f", b - a }'; }
# wait_for SECONDS COMMAND...: true once COMMAND succeeds, polled every 0.05 s.
wait_for() {
  local until=$(($(date +%s) + $1))
  shift
  while ! "$@"; do
    [ "$(date +%s)" -lt "$until" ] || return 1
    sleep 0.05
  done
}
has_line() { [ -f "$1" ] && grep -qP "$2" "$1"; }
more_lines() { [ "$(grep -c "$2" "$1")" -gt "$3" ]; } # FILE PATTERN COUNT
messages() { grep $'^message\t' "$1" | cut -f3,4; } # colour and text; the time differs per run

# A screen of our own for both programs.
Xvfb -displayfd 3 -screen 0 1280x720x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
wait_for 20 test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=:$(head -n1 "$work/display")

start=$(now)
wineboot -i >/dev/null 2>&1
echo "fresh prefix: $(since "$start") s"
start=$(now)
wine "$installer" /S
wineserver -w
echo "silent install: $(since "$start") s"
program="$WINEPREFIX/drive_c/Program Files/Meldlux"
[ -f "$program/bin/meldlux.exe" ] || fail "nothing installed in $program"
echo "installed size: $(du -sk "$program" | cut -f1) KiB, installer $(($(stat -c %s "$installer") / 1024)) KiB"
wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Meldlux' /v DisplayVersion |
  grep -q DisplayVersion || fail "no uninstall entry"

"$linux/meldlux-refdata" sample "$work/data" >/dev/null
port=
for candidate in $(seq 7841 7861); do
  "$linux/meldlux-decoder-sim" --port "$candidate" --password e2e \
    --scenario "$source/tools/decoder-sim/sample.scenario" >"$work/sim-$candidate.log" 2>&1 &
  sim=$!
  sleep 0.5
  if kill -0 "$sim" 2>/dev/null; then port=$candidate && pids+=("$sim") && break; fi
done
[ -n "$port" ] || fail "no free port for the simulator"
settings=("Server Adresse 127.0.0.1" "Server Port $port" "Server PW e2e"
          "Einstellungen AutoConnect 1" "Einstellungen MsgLines 5" "Einstellungen MsgTime 0")
last='Ölspur Ortsdurchfahrt Süd' # the scenario's last line

# The Linux program first: its message lines are the reference.
mkdir -p "$work/linux/config/meldlux"
for s in "${settings[@]}"; do
  read -r section key value <<<"$s"
  printf '[%s]\n%s=%s\n' "$section" "$key" "$value"
done >"$work/linux/config/meldlux/MeldluxWBR.ini"
start=$(now)
(cd "$work/data" && MELDLUX_EVENT_LOG="$work/linux.events" XDG_CONFIG_HOME="$work/linux/config" \
  XDG_DATA_HOME="$work/linux/data" exec "$linux/meldlux") >"$work/linux.log" 2>&1 &
meldlux=$!
pids+=("$meldlux")
# Start-up arms the popup right after the last loader notice, the sample data's replacements.
armed='^message\t.*Ersetzungen geladen'
wait_for 60 has_line "$work/linux.events" "$armed" || fail "Linux: start-up did not end"
echo "Linux: start to popup armed $(since "$start") s"
wait_for 120 has_line "$work/linux.events" "^message\t.*$last" || fail "Linux: scenario not shown"
sleep 1
kill -TERM "$meldlux"
wait "$meldlux" || fail "Linux: ended with $?"

# The installed program, its settings in the registry as the Windows original keeps them.
key='HKCU\Software\VB and VBA Program Settings\MeldluxWBR'
for s in "${settings[@]}"; do
  read -r section key_name value <<<"$s"
  wine reg add "$key\\$section" /v "$key_name" /d "$value" /f >/dev/null
done
events=$(winepath -w "$work/windows.events")
start=$(now)
(cd "$work/data" && MELDLUX_EVENT_LOG="$events" exec wine "$program/bin/meldlux.exe") \
  >"$work/windows.log" 2>&1 &
meldlux=$!
pids+=("$meldlux")
wait_for 120 has_line "$work/windows.events" "$armed" || fail "Windows: start-up did not end"
echo "Wine: start to popup armed $(since "$start") s"
wait_for 120 has_line "$work/windows.events" "^message\t.*$last" ||
  fail "Windows: scenario not shown"
sleep 1
# MELDLUX_WINE_SCREENSHOT=FILE.png keeps a picture of the screen (for the guide).
if [ -n "${MELDLUX_WINE_SCREENSHOT:-}" ]; then
  "$linux/meldlux-screenshot" "$MELDLUX_WINE_SCREENSHOT" >/dev/null
fi
# With no notification area on the X server, Wine's explorer keeps the icons in a window of its
# own, which it shows only while it holds one: the program's, the only one running.
tray_shown() { xdotool search --onlyvisible --name '^Wine System Tray$' >/dev/null 2>&1; }
tray_shown || fail "Windows: no icon in the notification area"
wine taskkill /IM meldlux.exe >/dev/null 2>&1 || fail "taskkill found no meldlux.exe"
wait_for 60 eval '! kill -0 "$meldlux" 2>/dev/null' || fail "Windows: no end on WM_CLOSE"
wait_for 10 eval '! tray_shown' || fail "Windows: the tray icon stayed after the end"

diff <(messages "$work/linux.events") <(messages "$work/windows.events") ||
  fail "the message lines differ (< Linux, > Windows)"
echo "message lines equal: $(messages "$work/windows.events" | wc -l)"
has_line "$work/windows.events" '^saved' || fail "Windows: settings not saved"
has_line "$work/windows.events" '^tray\tdelete' || fail "Windows: the tray icon was not removed"
has_line "$work/windows.events" '^sent\tExit' || fail "Windows: no goodbye line"
grep -q 'said Exit' "$work/sim-$port.log" || fail "the simulator heard no goodbye"
# A value the program writes itself, not one given above.
wine reg query "$key\\Einstellungen" /v MsgLogOnly | grep -q MsgLogOnly ||
  fail "no settings written to the registry"

# Again, and this time the Windows session ends (a shut-down): Wine's wineboot sends every
# program's top-level windows WM_QUERYENDSESSION, then WM_ENDSESSION, and ends whatever still runs
# once they have returned, as Windows does. The value the program writes itself is removed first,
# so that only this end can have written it again.
wine reg delete "$key\\Einstellungen" /v MsgLogOnly /f >/dev/null
goodbyes=$(grep -c 'said Exit' "$work/sim-$port.log")
# Meanwhile the user types in another program: it has the keyboard focus from before the start
# (the main window starts hidden in the tray), through the start-up notices and the server's
# lines, and keeps it; the strip shows above it all the same.
wine reg add "$key\\Einstellungen" /v FormVisible /d 0 /f >/dev/null
wine notepad >"$work/notepad.log" 2>&1 &
pids+=($!)
window_of() { xdotool search --onlyvisible "$@" 2>/dev/null | head -n1; }
wait_for 60 eval '[ -n "$(window_of --class "^notepad\.exe$")" ]' || fail "notepad did not open"
notepad=$(window_of --class '^notepad\.exe$')
focus_on_notepad() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$notepad" ]; }
xdotool windowfocus --sync "$notepad"
wait_for 10 focus_on_notepad || fail "notepad did not get the focus"
events=$(winepath -w "$work/session.events")
(cd "$work/data" && MELDLUX_EVENT_LOG="$events" exec wine "$program/bin/meldlux.exe") \
  >"$work/session.log" 2>&1 &
meldlux=$!
pids+=("$meldlux")
wait_for 120 has_line "$work/session.events" '^sent\tPASS:' || fail "session end: no login"
shown=$(grep -c $'^message\t' "$work/session.events")
wait_for 60 more_lines "$work/session.events" $'^message\t' "$shown" ||
  fail "session end: no message line from the server"
sleep 1
focus_on_notepad || fail "the strip took the focus from notepad (now $(xdotool getwindowfocus))"
strip=$(window_of --name '^MsgForm$')
[ -n "$strip" ] || fail "the strip is not shown"
# xwininfo lists the root's children top-most first (XQueryTree's order reversed); without a
# window manager Wine's top-level windows are children of the root, stacked as they were mapped:
# the strip, mapped after notepad, lies above it even when it is not topmost, so Windows' own
# order is asked as well.
upper() {
  xwininfo -root -children | awk -v a="$(printf '0x%x' "$1")" -v b="$(printf '0x%x' "$2")" \
    '$1 == a || $1 == b { print $1; exit }'
}
[ "$(upper "$strip" "$notepad")" = "$(printf '0x%x' "$strip")" ] || {
  xwininfo -root -children >&2
  fail "the strip is under notepad"
}
# Windows' own order: the strip topmost, above notepad, which has the foreground.
order=$(wine "$window_order" MsgForm 2>/dev/null | tr -d '\r' | paste -sd' ') ||
  fail "the strip has no window"
[ "$order" = 'visible 1 topmost 1 foreground Notepad above 1' ] ||
  fail "the strip in Windows' order: $order"
echo "strip above notepad, notepad kept the focus"
wine taskkill /IM notepad.exe >/dev/null 2>&1 || fail "taskkill found no notepad.exe"
# A shut-down called off (another program said no) ends nothing: the station stays alerted.
wine "$cancelled" meldlux.exe || fail "no window of meldlux.exe to tell of a shut-down"
sleep 2
kill -0 "$meldlux" 2>/dev/null || fail "session end called off: the program ended"
! has_line "$work/session.events" '^sent\tExit' || fail "session end called off: goodbye sent"
wine wineboot --end-session --shutdown >/dev/null 2>&1 || fail "wineboot could not end the session"
wait_for 60 eval '! kill -0 "$meldlux" 2>/dev/null' || fail "session end: the program runs on"
has_line "$work/session.events" '^saved' || fail "session end: settings not saved"
has_line "$work/session.events" '^sent\tExit' || fail "session end: no goodbye line"
[ "$(grep -c 'said Exit' "$work/sim-$port.log")" -gt "$goodbyes" ] ||
  fail "session end: the simulator heard no goodbye"
wine reg query "$key\\Einstellungen" /v MsgLogOnly | grep -q MsgLogOnly ||
  fail "session end: no settings written to the registry"
echo "session end: settings saved, goodbye sent"

journal() { find "$WINEPREFIX/drive_c/users" -path '*/AppData/Roaming/meldlux/*.sqlite' | grep -q .; }
journal || fail "no journal in the user's AppData"

wine "$program/uninstall.exe" /S
wineserver -w
[ ! -e "$program" ] || { find "$program" >&2; fail "left behind in Program Files\\Meldlux"; }
echo "uninstalled: nothing left in Program Files\\Meldlux"
journal || fail "the uninstaller removed the journal"
wine reg query "$key\\Einstellungen" /v MsgLogOnly | grep -q MsgLogOnly ||
  fail "the uninstaller removed the settings"
