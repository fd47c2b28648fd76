#!/bin/sh
# SPDX-FileCopyrightText: 2026 Wirowanki authors
# SPDX-License-Identifier: GPL-3.0-or-later

# Takes the store screenshots named in the AppStream metadata from a built program, headless:
#   packaging/make-screenshots.sh build/wirowanki
# They go to packaging/screenshots/ (committed) and are published on the home page under zrzuty/.
set -eu
program=$(realpath "${1:-build/wirowanki}")
out=$(realpath "$(dirname "$0")")/screenshots
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out" "$work/home" "$work/run"
chmod 700 "$work/run"
cat >"$work/script" <<END
wait 2000
click 765 295
screenshot $out/menu.png
click 567 679
wait 500
click 295 305
wait 300
screenshot $out/memory.png
key 27
key 27
key 27
END
# A private home and runtime directory: the statistics of this run and its lock never meet the user's.
HOME="$work/home" XDG_DATA_HOME="$work/home" XDG_RUNTIME_DIR="$work/run" \
    "$program" --headless --window 1024x768 --script "$work/script" >/dev/null
