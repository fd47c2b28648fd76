#!/bin/bash
# SPDX-FileCopyrightText: 2026 Wirowanki authors
# SPDX-License-Identifier: GPL-3.0-or-later

# Screenshots of every window at 800x600 and 1024x768, headless, with the clock fixed (faketime) so that
# two builds can be compared byte for byte:  tools/screenshot_windows.sh build/wirowanki OUT_DIR
# Each game is started from its tab, clicked twice and ended; the about window and the recorder tab too.
set -u
prog=$(realpath "$1"); out=$2; mkdir -p "$out"; out=$(realpath "$out")
run() { # size name scriptbody
  local w=$(mktemp -d); mkdir -p $w/run; chmod 700 $w/run
  printf '%s\n' "$3" > $w/script
  HOME=$w XDG_DATA_HOME=$w XDG_RUNTIME_DIR=$w/run timeout 60 faketime -f "@2026-12-01 10:00:00 x0.001" "$prog" --headless --window $1 --script $w/script > $out/$2.log 2>&1
  echo "exit $?" >> $out/$2.log
  rm -rf $w
}
for size in 800x600 1024x768; do
  if [ $size = 800x600 ]; then sx=611; ty=(124 224 309 384 474); st="455 535"; ab="287 547"; mid="300 300"; mid2="200 250"
  else sx=765; ty=(165 295 395 495 595); st="567 679"; ab="367 700"; mid="384 384"; mid2="256 320"; fi
  s=${size%x*}
  run $size splash-$s "screenshot $out/$s-splash.png
wait 2000
quit"
  for t in 0 1 2 3 4; do
    run $size tab$t-$s "wait 2000
click $sx ${ty[$t]}
screenshot $out/$s-tab$t-menu.png
click $st
wait 700
screenshot $out/$s-tab$t-a.png
click $mid
wait 900
screenshot $out/$s-tab$t-b.png
click $mid2
wait 1500
screenshot $out/$s-tab$t-c.png
key 27
wait 500
screenshot $out/$s-tab$t-d.png
key 27
wait 500
screenshot $out/$s-tab$t-e.png
quit"
  done
  run $size about-$s "wait 2000
click $ab
wait 500
screenshot $out/$s-about.png
key 27
quit"
done
