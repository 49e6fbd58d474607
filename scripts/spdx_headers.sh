#!/usr/bin/env bash
# Puts the licence line first in every C++ source the project tracks that lacks it; touches
# nothing else. Run from anywhere; safe to run again.
set -euo pipefail
cd "$(dirname "$0")/.."
line='// SPDX-License-Identifier: GPL-3.0-or-later'
git ls-files -z -- '*.cpp' '*.h' | while IFS= read -r -d '' f; do
  [ "$(head -n 1 "$f")" = "$line" ] || sed -i "1i $line" "$f"
done
