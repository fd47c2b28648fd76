#!/bin/sh
# SPDX-FileCopyrightText: 2026 Wirowanki authors
# SPDX-License-Identifier: GPL-3.0-or-later

# Makes the application icons from the mascot in tools/art/logo.svg: a square scalable icon and PNGs of
# the usual sizes. Needs rsvg-convert (librsvg2-bin); the results are committed, so building never does.
set -eu
cd "$(dirname "$0")"
id=pl.wirowanki.Wirowanki
out=icons/hicolor
mkdir -p "$out/scalable/apps"
# The mascot is tall and narrow: centre it on a rounded square so it reads as an icon at 48 px.
{
    echo '<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 400 400">'
    echo '<rect x="8" y="8" width="384" height="384" rx="72" fill="#FFF3D6"/>'
    echo '<g transform="translate(108.8 10) scale(.95)">'
    sed -e '/<svg /d' -e '/<\/svg>/d' -e '/<!--/d' ../tools/art/logo.svg
    echo '</g>'
    echo '</svg>'
} >"$out/scalable/apps/$id.svg"
for size in 48 64 128 256 512; do
    mkdir -p "$out/${size}x$size/apps"
    rsvg-convert -w "$size" -h "$size" "$out/scalable/apps/$id.svg" -o "$out/${size}x$size/apps/$id.png"
done
