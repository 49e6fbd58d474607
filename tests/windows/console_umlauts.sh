#!/usr/bin/env bash
# The programs' --help keeps its umlauts under Wine, to a pipe (UTF-8, as on Linux) and in a
# console, which Wine gives a program started on a terminal (here a pseudo-terminal of `script`).
#   console_umlauts.sh BIN WORK
set -euo pipefail
bin=$1 work=$2
source "$(dirname "$0")/common.sh" "$work"
wineboot -i >/dev/null 2>&1
# The terminal's own control sequences and line ends out; a line the console wraps joined again.
text() { sed 's/\x1b\[[0-9;?]*[a-zA-Z]//g' | tr -d '\r\n'; }
for case in "meldlux-journal unbeschädigtes" "meldlux-refdata Rückgabe" \
            "meldlux-decoder-sim Blöcke" "meldlux Tönen"; do
  read -r program word <<<"$case"
  piped=$(timeout 120 wine "$bin/$program.exe" --help 2>&1 | tr -d '\r\n')
  grep -qF -- "$word" <<<"$piped" || fail "$program --help to a pipe: no \"$word\" in: $piped"
  console=$(timeout 120 script -qec "wine '$bin/$program.exe' --help" /dev/null 2>&1 | text)
  grep -qF -- "$word" <<<"$console" || fail "$program --help in a console: no \"$word\" in: $console"
  echo "$program: \"$word\" to a pipe and in a console"
done
