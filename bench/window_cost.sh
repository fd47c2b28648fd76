#!/bin/sh
# SPDX-FileCopyrightText: 2026 Wirowanki authors
# SPDX-License-Identifier: GPL-3.0-or-later

# The real window's costs under Xvfb with a window manager: start-up, anonymous memory idle in the menu,
# and CPU of the program (and of the X server) while the falling game runs and while it is minimised.
#   [DATA_DIR=DIR] bench/window_cost.sh PROGRAM WxH [SECONDS]
# Needs Xvfb, xdotool and openbox. Works in its own temporary directories and removes them.
set -eu
prog=$(readlink -f "$1")
size=$2
secs=${3:-10}
src=${DATA_DIR:-$(dirname "$prog")} # holds Data/ and Resource/
w=${size%x*}
h=${size#*x}

base=$(mktemp -d)
export XDG_RUNTIME_DIR="$base/run"
mkdir -m 700 "$XDG_RUNTIME_DIR"
mkdir "$base/app"
cp "$prog" "$base/app/wirowanki"
mkdir "$base/app/Data"
for f in "$src/Data"/*; do
    if [ -d "$f" ]; then ln -s "$(readlink -f "$f")" "$base/app/Data/"; else cp "$f" "$base/app/Data/"; fi
done
ln -s "$src/Resource" "$base/app/Resource"

Xvfb -displayfd 1 -screen 0 "${size}x24" -nolisten tcp >"$base/d" 2>/dev/null &
X=$!
for i in $(seq 100); do [ -s "$base/d" ] && break; sleep 0.05; done
export DISPLAY=":$(cat "$base/d")"
openbox >/dev/null 2>&1 &
WM=$!
sleep 1

ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)
# Shares of one core used by the program and by the X server over the same $secs seconds.
cpu() {
    a=$(ticks $P) ax=$(ticks $X)
    sleep "$secs"
    b=$(ticks $P) bx=$(ticks $X)
    echo "$a $b $ax $bx" | awk -v s="$secs" -v hz="$hz" \
        '{printf "%.1f %%, X server %.1f %%", ($2 - $1) * 100 / hz / s, ($4 - $3) * 100 / hz / s}'
}
now() { date +%s%N | cut -c1-13; }

t0=$(now)
WV_TIMELINE=1 "$base/app/wirowanki" 2>"$base/err" &
P=$!
for i in $(seq 1000); do xdotool search --onlyvisible --name Wirowanki >/dev/null 2>&1 && break; sleep 0.005; done
t1=$(now)
echo "window visible $((t1 - t0)) ms"
sleep 3
awk -v t0="$t0" '/^timeline /{printf "timeline %s %d ms\n", $2, $3 - t0}' "$base/err"
echo "menu RssAnon $(awk '/RssAnon/{print $2}' /proc/$P/status) kB, VmRSS $(awk '/VmRSS/{print $2}' /proc/$P/status) kB"
echo "menu idle cpu $(cpu)"

# The 1024 x 768 layout (800 x 600 below it), enlarged to fill the screen and centred.
layout=1024
lh=768
if [ "$w" -lt 1024 ] || [ "$h" -lt 768 ]; then layout=800 lh=600; fi
at() { # layout x y -> screen x y
    if [ $((w * lh)) -ge $((h * layout)) ]; then
        sw=$(((w * lh * 2 + h) / (h * 2)))
        echo "$(((($1 + (sw - layout) / 2) * h) / lh)) $(($2 * h / lh))"
    else
        sh=$(((h * layout * 2 + w) / (w * 2)))
        echo "$(($1 * w / layout)) $(((($2 + (sh - lh) / 2) * w) / layout))"
    fi
}
if [ "$layout" = 1024 ]; then
    tab=$(at 765 495)
    start=$(at 567 679)
    xdotool mousemove $tab click 1
    sleep 0.5
    xdotool mousemove $start click 1
    sleep 3
    echo "falling cpu $(cpu)"
    [ -z "${SHOT:-}" ] || import -window root "$SHOT"
    xdotool search --onlyvisible --name Wirowanki windowminimize
    sleep 1
    echo "minimised cpu $(cpu)"
fi
pkill -KILL -P $P 2>/dev/null || true
kill -KILL $P
wait $P 2>/dev/null || true
kill $WM $X
wait $WM $X 2>/dev/null || true
grep -v '^timeline ' "$base/err" || true
rm -rf "$base"
